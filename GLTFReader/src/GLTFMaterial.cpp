#include <GLTFReader/GLTFMaterial.h>
#include <GLTFReader/JsonDecoder.h>

GLTFMaterialPbrMetallicRoughness
GLTFMaterialPbrMetallicRoughness::decode(const gltf::JsonObject& json) {
    return {
        ._baseColorFactor = json.optional<std::vector<float>>("baseColorFactor"),
        .baseColorTexture = json.optional<GLTFTextureInfo>("baseColorTexture"),
        ._metallicFactor = json.optional<float>("metallicFactor"),
        ._roughnessFactor = json.optional<float>("roughnessFactor"),
        .metallicRoughnessTexture = json.optional<GLTFTextureInfo>("metallicRoughnessTexture"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFMaterialNormalTextureInfo GLTFMaterialNormalTextureInfo::decode(const gltf::JsonObject& json) {
    return {
        .index = json.required<std::int64_t>("index"),
        ._texCoord = json.optional<std::int64_t>("texCoord"),
        ._scale = json.optional<float>("scale"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFMaterialOcclusionTextureInfo
GLTFMaterialOcclusionTextureInfo::decode(const gltf::JsonObject& json) {
    return {
        .index = json.required<std::int64_t>("index"),
        ._texCoord = json.optional<std::int64_t>("texCoord"),
        ._strength = json.optional<float>("strength"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFMaterial GLTFMaterial::decode(const gltf::JsonObject& json) {
    return {
        .name = json.optional<std::string>("name"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
        .pbrMetallicRoughness =
            json.optional<GLTFMaterialPbrMetallicRoughness>("pbrMetallicRoughness"),
        .normalTexture = json.optional<GLTFMaterialNormalTextureInfo>("normalTexture"),
        .occlusionTexture = json.optional<GLTFMaterialOcclusionTextureInfo>("occlusionTexture"),
        .emissiveTexture = json.optional<GLTFTextureInfo>("emissiveTexture"),
        ._emissiveFactor = json.optional<std::vector<float>>("emissiveFactor"),
        ._alphaMode = json.optional<std::string>("alphaMode"),
        ._alphaCutoff = json.optional<float>("alphaCutoff"),
        ._doubleSided = json.optional<bool>("doubleSided"),
    };
}
