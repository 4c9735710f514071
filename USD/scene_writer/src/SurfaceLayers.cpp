#include "SurfaceLayers.h"

#include "SurfaceSlots.h"

namespace usd::writer::surface {
namespace {

void setIfNamed(SurfaceDescription& surface, const scene::Material& material, std::string_view key,
                const char* inputName) {
    const scene::Value* value = material.namedValue(key);
    if (const double* number = value != nullptr ? value->as<double>() : nullptr)
        surface.set(inputName, "float", static_cast<float>(*number));
}

} // namespace

void describeCoatAndRefraction(SurfaceDescription& surface, const scene::Material& material) {
    setIfNamed(surface, material, "clearcoatFactor", "clearcoat");
    setIfNamed(surface, material, "clearcoatRoughnessFactor", "clearcoatRoughness");
    setIfNamed(surface, material, "ior", "ior");
}

void noteLeftOutFeatures(const scene::Material& material, Findings& findings) {
    const scene::Value* value = material.namedValue("leftOutFeatures");
    if (const std::string* features = value != nullptr ? value->as<std::string>() : nullptr)
        findings.push_back("Material \"" + material.name + "\" is shown without " + *features +
                           ", which a preview surface cannot express.");
}

} // namespace usd::writer::surface
