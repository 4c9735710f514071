#include "MaterialDescription.h"

#include <SceneGraph/Material.h>
#include <SceneGraph/MaterialContract.h>
#include <algorithm>
#include <array>

namespace brightfold::preview {
namespace {

using scene::ColorComponents;
using scene::Material;
using scene::MaterialProperty;

namespace material_keys = scene::material_keys;

float namedNumber(const Material& material, std::string_view key, float fallback) {
    return static_cast<float>(scene::namedNumber(material, key, fallback));
}

glm::vec4 namedColor(const Material& material, std::string_view key, float fallback) {
    const std::array<double, 4> channels = scene::colorFactor(material, key, fallback);
    return glm::vec4(glm::dvec4(channels[0], channels[1], channels[2], channels[3]));
}

glm::vec4 colorOf(const scene::Color& color) {
    return {color.red, color.green, color.blue, color.alpha};
}

// The slot's colour, or its number as a grey, or null for an image or nothing.
std::optional<glm::vec4> plainColorOf(const MaterialProperty& slot) {
    if (const scene::Color* color = slot.color()) {
        return colorOf(*color);
    }
    if (const double* number = slot.number()) {
        return glm::vec4(glm::vec3(static_cast<float>(*number)), 1.0f);
    }
    return std::nullopt;
}

TextureChannel channelOf(ColorComponents components) {
    switch (components) {
    case ColorComponents::green:
        return TextureChannel::green;
    case ColorComponents::blue:
        return TextureChannel::blue;
    case ColorComponents::alpha:
        return TextureChannel::alpha;
    case ColorComponents::red:
    case ColorComponents::rgb:
    case ColorComponents::all:
        break;
    }
    return TextureChannel::red;
}

std::optional<TextureDescription> textureOf(const MaterialProperty& slot) {
    std::shared_ptr<scene::Image> image = slot.image();
    if (!image) {
        return std::nullopt;
    }
    // Only two coordinate channels reach the renderer.
    return TextureDescription{std::move(image),
                              std::clamp(slot.mappingChannel, 0, 1),
                              channelOf(slot.textureComponents),
                              slot.wrapS,
                              slot.wrapT,
                              slot.minificationFilter,
                              slot.magnificationFilter,
                              slot.mipFilter};
}

// A single-valued slot: its map with the named factor, or its own value.
float scalarSlot(const MaterialProperty& slot, std::optional<TextureDescription>& map,
                 float namedFactor, float fallback) {
    map = textureOf(slot);
    if (map) {
        return namedFactor;
    }
    const std::optional<glm::vec4> plain = plainColorOf(slot);
    return plain ? plain->r : fallback;
}

// The factor beside a base colour map: an unlit avatar material's own colour, or the named one.
glm::vec4 baseColorFactorOf(const Material& material) {
    if (const std::optional<glm::dvec4> avatarColor = scene::avatarBaseColor(material)) {
        return glm::vec4(*avatarColor);
    }
    return namedColor(material, material_keys::baseColorFactor, 1.0f);
}

void describeBaseColor(const Material& material, MaterialDescription& description) {
    const MaterialProperty& diffuse = material.property(scene::MaterialSlot::diffuse);
    description.baseColorMap = textureOf(diffuse);
    description.baseColor = description.baseColorMap
                                ? baseColorFactorOf(material)
                                : plainColorOf(diffuse).value_or(glm::vec4(1.0f));
    description.baseColor.a *= static_cast<float>(material.transparency);
}

void describeEmission(const Material& material, MaterialDescription& description) {
    const MaterialProperty& emission = material.property(scene::MaterialSlot::emission);
    description.emissiveMap = textureOf(emission);
    if (description.emissiveMap) {
        description.emissiveFactor =
            glm::vec3(namedColor(material, material_keys::emissiveFactor, 1.0f)) *
            static_cast<float>(emission.intensity);
    } else if (const std::optional<glm::vec4> color = plainColorOf(emission)) {
        description.emissiveFactor = glm::vec3(*color);
    } else {
        description.emissiveFactor =
            glm::vec3(namedColor(material, material_keys::emissiveFactor, 0.0f));
    }
}

void describeDetailMaps(const Material& material, MaterialDescription& description) {
    description.normalMap = textureOf(material.property(scene::MaterialSlot::normal));
    const MaterialProperty& occlusion = material.property(scene::MaterialSlot::ambientOcclusion);
    description.occlusionMap = textureOf(occlusion);
    description.occlusionAmount = static_cast<float>(occlusion.intensity);
}

void describeAlpha(const Material& material, MaterialDescription& description) {
    if (const std::optional<double> cutoff = scene::cutoutThreshold(material)) {
        description.alphaMode = AlphaMode::mask;
        description.alphaCutoff = static_cast<float>(*cutoff);
    } else if (material.blendMode == scene::BlendMode::replace) {
        description.alphaMode = AlphaMode::opaque;
    } else if (!material.writesToDepthBuffer || description.baseColor.a < 1.0f) {
        description.alphaMode = AlphaMode::blend;
    }
}

FaceCulling cullingOf(const Material& material) {
    if (material.doubleSided) {
        return FaceCulling::none;
    }
    return material.cullMode == scene::CullMode::front ? FaceCulling::front : FaceCulling::back;
}

} // namespace

FaceCulling mirroredCulling(FaceCulling culling) {
    switch (culling) {
    case FaceCulling::back:
        return FaceCulling::front;
    case FaceCulling::front:
        return FaceCulling::back;
    case FaceCulling::none:
        break;
    }
    return FaceCulling::none;
}

MaterialDescription describeMaterial(const Material& material) {
    MaterialDescription description;
    describeBaseColor(material, description);
    description.metalness =
        scalarSlot(material.property(scene::MaterialSlot::metalness), description.metalnessMap,
                   namedNumber(material, material_keys::metallicFactor, 1.0f), 0.0f);
    description.roughness =
        scalarSlot(material.property(scene::MaterialSlot::roughness), description.roughnessMap,
                   namedNumber(material, material_keys::roughnessFactor, 1.0f), 1.0f);
    describeEmission(material, description);
    describeDetailMaps(material, description);
    describeAlpha(material, description);
    description.culling = cullingOf(material);
    description.unlit = scene::isUnlit(material);
    return description;
}

} // namespace brightfold::preview
