#include "materials/SurfaceLayers.h"

#include "materials/SurfaceSlots.h"

#include <SceneGraph/MaterialContract.h>

namespace usd::writer::surface {
namespace {

void setIfNamed(SurfaceDescription& surface, const scene::Material& material, std::string_view key,
                const char* inputName) {
    if (material.namedValue(key) != nullptr)
        surface.set(inputName, "float", static_cast<float>(scene::namedNumber(material, key, 0)));
}

} // namespace

void describeCoatAndRefraction(SurfaceDescription& surface, const scene::Material& material) {
    using namespace scene::material_keys;
    setIfNamed(surface, material, clearcoatFactor, "clearcoat");
    setIfNamed(surface, material, clearcoatRoughnessFactor, "clearcoatRoughness");
    setIfNamed(surface, material, indexOfRefraction, "ior");
}

void noteLeftOutFeatures(const scene::Material& material, Notes& notes) {
    if (const std::optional<std::string> features = scene::leftOutFeatures(material))
        notes.push_back("Material \"" + material.name + "\" is shown without " + *features +
                        ", which a preview surface cannot express.");
}

} // namespace usd::writer::surface
