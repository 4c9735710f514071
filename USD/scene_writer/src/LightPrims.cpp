#include "LightPrims.h"

#include "ApiSchemas.h"
#include "CustomData.h"

#include <numbers>

namespace usd::writer {
namespace {

void writeFloat(LayerBuilder& build, const Path& prim, const char* name, double value) {
    build.addAttribute(prim, name, {"float", static_cast<float>(value)});
}

void writeSpotCone(LayerBuilder& build, const Path& prim, const scene::Light& light) {
    applySchema(build, prim, "ShapingAPI");
    const double outer = light.outerConeAngle;
    writeFloat(build, prim, "inputs:shaping:cone:angle", outer * 180.0 / std::numbers::pi);
    writeFloat(build, prim, "inputs:shaping:cone:softness",
               outer > 0 ? (outer - light.innerConeAngle) / outer : 0.0);
}

std::string lightLabel(const scene::Light& light, const Path& prim) {
    return light.name.empty() ? "The light at " + prim.text() : "Light \"" + light.name + "\"";
}

} // namespace

void writeLight(LayerBuilder& build, const Path& prim, const scene::Light& light, Notes& notes) {
    const bool directional = light.type == scene::LightType::directional;
    build.definePrim(prim, directional ? "DistantLight" : "SphereLight");
    Dictionary names;
    keepOriginalName(names, light.name, prim.name());
    if (!names.empty())
        build.setMetadata(prim, "customData", names);
    build.addAttribute(prim, "inputs:color",
                       {"color3f", Vec3f{static_cast<float>(light.color.red),
                                         static_cast<float>(light.color.green),
                                         static_cast<float>(light.color.blue)}});
    writeFloat(build, prim, "inputs:intensity", light.intensity);
    if (directional) {
        // A punctual light has no angular size; a distant light's default is the sun's.
        writeFloat(build, prim, "inputs:angle", 0);
        return;
    }
    build.addAttribute(prim, "treatAsPoint", {"bool", true});
    if (light.type == scene::LightType::spot)
        writeSpotCone(build, prim, light);
    if (light.range)
        notes.push_back(lightLabel(light, prim) +
                        ": its range was left out, the light reaches without end.");
}

} // namespace usd::writer
