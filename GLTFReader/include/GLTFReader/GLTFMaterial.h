#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <GLTFReader/GLTFTexture.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct GLTFMaterialPbrMetallicRoughness {
    std::optional<std::vector<float>> _baseColorFactor;
    std::optional<GLTFTextureInfo> baseColorTexture;
    std::optional<float> _metallicFactor;
    std::optional<float> _roughnessFactor;
    std::optional<GLTFTextureInfo> metallicRoughnessTexture;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFMaterialPbrMetallicRoughness decode(const gltf::JsonObject& json);
};

struct GLTFMaterialNormalTextureInfo {
    std::int64_t index;
    std::optional<std::int64_t> _texCoord;
    std::optional<float> _scale;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFMaterialNormalTextureInfo decode(const gltf::JsonObject& json);
};

struct GLTFMaterialOcclusionTextureInfo {
    std::int64_t index;
    std::optional<std::int64_t> _texCoord;
    std::optional<float> _strength;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;

    static GLTFMaterialOcclusionTextureInfo decode(const gltf::JsonObject& json);
};

// Unlike the other records, a material reads its extension containers right after its name.
struct GLTFMaterial {
    std::optional<std::string> name;
    std::optional<GLTFExtension> extensions;
    std::optional<GLTFExtras> extras;
    std::optional<GLTFMaterialPbrMetallicRoughness> pbrMetallicRoughness;
    std::optional<GLTFMaterialNormalTextureInfo> normalTexture;
    std::optional<GLTFMaterialOcclusionTextureInfo> occlusionTexture;
    std::optional<GLTFTextureInfo> emissiveTexture;
    std::optional<std::vector<float>> _emissiveFactor;
    std::optional<std::string> _alphaMode;
    std::optional<float> _alphaCutoff;
    std::optional<bool> _doubleSided;

    static GLTFMaterial decode(const gltf::JsonObject& json);
};
