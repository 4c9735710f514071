#include "LightBuilder.h"

#include "ListOpItems.h"
#include "OriginalName.h"
#include "ValueReading.h"

#include <USD/layer/FieldNames.h>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace usd::reader {
namespace {

// Light inputs were once authored without their "inputs:" prefix; files of that age still
// open. A value that is not a finite number counts as unauthored.
std::optional<double> lightNumber(const ComposedPrim& prim, const std::string& name) {
    std::optional<double> number = readNumber(prim.attributeValue("inputs:" + name));
    if (!number) {
        number = readNumber(prim.attributeValue(name));
    }
    return number && std::isfinite(*number) ? number : std::nullopt;
}

scene::Color lightColor(const ComposedPrim& prim) {
    std::optional<glm::dvec4> color = readVector(prim.attributeValue("inputs:color"));
    if (!color) {
        color = readVector(prim.attributeValue("color"));
    }
    if (!color || !std::isfinite(color->x) || !std::isfinite(color->y) ||
        !std::isfinite(color->z)) {
        return scene::Color::white(1);
    }
    return {std::max(color->x, 0.0), std::max(color->y, 0.0), std::max(color->z, 0.0)};
}

bool appliesShaping(const ComposedPrim& prim) {
    const std::vector<Token> schemas = listOpItems<Token>(prim.metadata(field::kApiSchemas));
    return std::ranges::find(schemas, Token{"ShapingAPI"}) != schemas.end();
}

// A cone of a quarter turn or more lights a half space at least, which no spot light can;
// such a light shines as a point.
void readSpotCone(const ComposedPrim& prim, scene::Light& light) {
    const std::optional<double> degrees = lightNumber(prim, "shaping:cone:angle");
    if (!appliesShaping(prim) || !degrees || !(*degrees > 0) || *degrees >= 90) {
        return;
    }
    const double softness =
        std::clamp(lightNumber(prim, "shaping:cone:softness").value_or(0), 0.0, 1.0);
    light.type = scene::LightType::spot;
    light.outerConeAngle = *degrees * std::numbers::pi / 180.0;
    light.innerConeAngle = light.outerConeAngle * (1.0 - softness);
}

} // namespace

bool isPunctualLight(const ComposedPrim& prim) {
    const std::string type = prim.typeName();
    return type == "DistantLight" || type == "SphereLight";
}

std::shared_ptr<scene::Light> buildLight(const ComposedPrim& prim, SceneReadNotes& notes) {
    auto light = scene::Light::create();
    light->name = originalName(prim);
    light->color = lightColor(prim);
    const double intensity = lightNumber(prim, "intensity").value_or(1.0);
    const double exposure = lightNumber(prim, "exposure").value_or(0.0);
    light->intensity = std::max(intensity * std::exp2(exposure), 0.0);
    if (prim.typeName() == "DistantLight") {
        light->type = scene::LightType::directional;
        return light;
    }
    light->type = scene::LightType::point;
    readSpotCone(prim, *light);
    const bool point = readBool(prim.attributeValue("treatAsPoint")).value_or(false);
    if (!point && lightNumber(prim, "radius").value_or(0.5) > 0) {
        notes.push_back("The SphereLight prim " + prim.path().text() +
                        " is shown as a point light, without its size.");
    }
    return light;
}

} // namespace usd::reader
