#include "MaterialConversion.h"

#include "AssimpValues.h"
#include "TextureSource.h"

#include <SceneGraph/Material.h>
#include <SceneGraph/MaterialContract.h>
#include <array>
#include <assimp/GltfMaterial.h>
#include <initializer_list>
#include <span>
#include <string>

namespace modelimporter {
namespace {

using scene::MaterialProperty;

template <class T>
T valueOr(const aiMaterial& material, const char* key, unsigned type, unsigned index, T fallback) {
    T value;
    return material.Get(key, type, index, value) == AI_SUCCESS ? value : fallback;
}

scene::WrapMode wrapModeOf(aiTextureMapMode mode) {
    switch (mode) {
    case aiTextureMapMode_Clamp:
        return scene::WrapMode::clamp;
    case aiTextureMapMode_Mirror:
        return scene::WrapMode::mirror;
    case aiTextureMapMode_Decal:
        return scene::WrapMode::clampToBorder;
    default:
        return scene::WrapMode::repeat;
    }
}

// Puts the first texture of `type` into the slot, with its coordinate channel and wrap
// modes. False when the material has no such texture or its image cannot be read, in which
// case the slot keeps what it had.
bool applyTexture(const aiMaterial& material, aiTextureType type, TextureSource& textures,
                  MaterialProperty& slot) {
    aiString path;
    unsigned channel = 0;
    aiTextureMapMode wrapModes[2] = {aiTextureMapMode_Wrap, aiTextureMapMode_Wrap};
    if (material.GetTextureCount(type) == 0 ||
        material.GetTexture(type, 0, &path, nullptr, &channel, nullptr, nullptr, wrapModes) !=
            AI_SUCCESS) {
        return false;
    }
    auto image = textures.image(toString(path));
    if (image == nullptr) {
        return false;
    }
    slot.contents = std::move(image);
    slot.mappingChannel = static_cast<int>(channel);
    slot.wrapS = wrapModeOf(wrapModes[0]);
    slot.wrapT = wrapModeOf(wrapModes[1]);
    return true;
}

bool applyFirstTexture(const aiMaterial& material, std::initializer_list<aiTextureType> types,
                       TextureSource& textures, MaterialProperty& slot) {
    for (aiTextureType type : types) {
        if (applyTexture(material, type, textures, slot)) {
            return true;
        }
    }
    return false;
}

void setColorFactor(scene::Material& target, std::string_view key, const aiColor4D& color,
                    bool withAlpha) {
    const std::array<float, 4> channels{color.r, color.g, color.b, color.a};
    scene::setColorFactor(target, key, std::span<const float>(channels).first(withAlpha ? 4 : 3));
}

void applyBaseColor(const aiMaterial& source, TextureSource& textures, scene::Material& target) {
    const aiColor4D white(1, 1, 1, 1);
    const aiColor4D base =
        valueOr(source, AI_MATKEY_BASE_COLOR, valueOr(source, AI_MATKEY_COLOR_DIFFUSE, white));
    target.diffuse().contents = toColor(base);
    // A factor becomes a named value only where a texture takes the colour's place.
    const bool textured = applyFirstTexture(
        source, {aiTextureType_BASE_COLOR, aiTextureType_DIFFUSE}, textures, target.diffuse());
    setColorFactor(target, scene::material_keys::baseColorFactor, textured ? base : white, true);
}

// glTF packs both into one image: metalness in blue, roughness in green.
void applyMetallicRoughness(const aiMaterial& source, TextureSource& textures,
                            scene::Material& target) {
    const float metallic = valueOr(source, AI_MATKEY_METALLIC_FACTOR, 1.0f);
    const float roughness = valueOr(source, AI_MATKEY_ROUGHNESS_FACTOR, 1.0f);
    target.metalness().contents = scene::Color::white(metallic);
    target.roughness().contents = scene::Color::white(roughness);
    const bool textured = applyFirstTexture(
        source, {aiTextureType_UNKNOWN, aiTextureType_METALNESS}, textures, target.metalness());
    if (textured) {
        target.roughness() = target.metalness();
        target.metalness().textureComponents = scene::ColorComponents::blue;
        target.roughness().textureComponents = scene::ColorComponents::green;
    }
    scene::setNamedNumber(target, scene::material_keys::metallicFactor, textured ? metallic : 1.0f);
    scene::setNamedNumber(target, scene::material_keys::roughnessFactor,
                          textured ? roughness : 1.0f);
}

void applyMaps(const aiMaterial& source, TextureSource& textures, scene::Material& target) {
    applyTexture(source, aiTextureType_NORMALS, textures, target.normal());
    if (applyTexture(source, aiTextureType_LIGHTMAP, textures, target.ambientOcclusion())) {
        target.ambientOcclusion().intensity =
            valueOr(source, AI_MATKEY_GLTF_TEXTURE_STRENGTH(aiTextureType_LIGHTMAP, 0), 1.0f);
    }
    applyTexture(source, aiTextureType_EMISSIVE, textures, target.emission());
    setColorFactor(target, scene::material_keys::emissiveFactor,
                   valueOr(source, AI_MATKEY_COLOR_EMISSIVE, aiColor4D(0, 0, 0, 1)), false);
}

void applyAlphaMode(const aiMaterial& source, scene::Material& target) {
    const std::string mode =
        toString(valueOr(source, AI_MATKEY_GLTF_ALPHAMODE, aiString("OPAQUE")));
    if (mode == "BLEND") {
        target.blendMode = scene::BlendMode::alpha;
        target.writesToDepthBuffer = false;
    } else if (mode == "MASK") {
        scene::setCutoutThreshold(target, valueOr(source, AI_MATKEY_GLTF_ALPHACUTOFF, 0.5f));
    } else {
        target.blendMode = scene::BlendMode::replace;
    }
}

} // namespace

std::shared_ptr<scene::Material> convertMaterial(const aiMaterial& source,
                                                 TextureSource& textures) {
    auto target = scene::Material::create();
    target->name = toString(valueOr(source, AI_MATKEY_NAME, aiString()));
    target->lightingModel = scene::LightingModel::physicallyBased;
    applyBaseColor(source, textures, *target);
    applyMetallicRoughness(source, textures, *target);
    applyMaps(source, textures, *target);
    target->doubleSided = valueOr(source, AI_MATKEY_TWOSIDED, 0) != 0;
    applyAlphaMode(source, *target);
    return target;
}

} // namespace modelimporter
