#include "PreviewLights.h"

#include "MaterialBuilder.h"
#include "QuickObjectFactory.h"

#include <QtQuick3D/QQuick3DObject>
#include <SceneGraph/Light.h>
#include <numbers>

namespace brightfold::preview {
namespace {

// The renderer divides by constantFade + 0.01 · linearFade · d + 0.0001 · quadraticFade · d²
// and bounds quadraticFade to 1000, so the strongest square law it has is 0.1 · d²; the
// brightness makes up the factor of ten.
constexpr double quadraticFade = 1000.0;
constexpr double squareLawBrightness = 0.1;

QuickObjectFactory::Kind kindOf(scene::LightType type) {
    switch (type) {
    case scene::LightType::directional:
        return QuickObjectFactory::Kind::directionalLight;
    case scene::LightType::spot:
        return QuickObjectFactory::Kind::spotLight;
    case scene::LightType::point:
        break;
    }
    return QuickObjectFactory::Kind::pointLight;
}

double fullConeDegrees(double halfAngle) {
    return 2.0 * halfAngle * 180.0 / std::numbers::pi;
}

} // namespace

void addPreviewLight(const scene::Light& light, QuickObjectFactory& factory,
                     QQuick3DObject& parent) {
    QQuick3DObject* shown = factory.create(kindOf(light.type), parent);
    shown->setObjectName(QString::fromStdString(light.name));
    const scene::Color& color = light.color;
    shown->setProperty("color", srgbColorOf(glm::vec4(color.red, color.green, color.blue, 1)));
    if (light.type == scene::LightType::directional) {
        shown->setProperty("brightness", light.intensity);
        return;
    }
    shown->setProperty("brightness", light.intensity * squareLawBrightness);
    shown->setProperty("constantFade", 0.0);
    shown->setProperty("linearFade", 0.0);
    shown->setProperty("quadraticFade", quadraticFade);
    if (light.type == scene::LightType::spot) {
        shown->setProperty("coneAngle", fullConeDegrees(light.outerConeAngle));
        shown->setProperty("innerConeAngle", fullConeDegrees(light.innerConeAngle));
    }
}

} // namespace brightfold::preview
