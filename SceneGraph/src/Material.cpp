#include "EnumNames.h"

#include <SceneGraph/Material.h>

namespace scene {

Material::Material() {
    diffuse().contents = Color::white(1.0);
}

const Value* Material::namedValue(std::string_view key) const {
    return findValue(namedValues, key);
}

void Material::setNamedValue(std::string key, Value value) {
    namedValues.insert_or_assign(std::move(key), std::move(value));
}

std::string_view lightingModelName(LightingModel value) {
    static constexpr std::array<std::string_view, 6> names = {
        "blinn", "constant", "lambert", "phong", "physicallyBased", "shadowOnly"};
    return detail::enumName(names, value);
}

std::string_view materialSlotName(MaterialSlot value) {
    static constexpr std::array<std::string_view, 13> names = {
        "diffuse",          "ambient",   "specular", "emission",     "transparent",
        "reflective",       "multiply",  "normal",   "displacement", "ambientOcclusion",
        "selfIllumination", "metalness", "roughness"};
    return detail::enumName(names, value);
}

std::string_view blendModeName(BlendMode value) {
    static constexpr std::array<std::string_view, 7> names = {
        "alpha", "add", "subtract", "multiply", "screen", "replace", "max"};
    return detail::enumName(names, value);
}

std::string_view cullModeName(CullMode value) {
    static constexpr std::array<std::string_view, 2> names = {"back", "front"};
    return detail::enumName(names, value);
}

std::string_view shaderEntryPointName(ShaderEntryPoint value) {
    static constexpr std::array<std::string_view, 4> names = {"geometry", "surface",
                                                              "lightingModel", "fragment"};
    return detail::enumName(names, value);
}

} // namespace scene
