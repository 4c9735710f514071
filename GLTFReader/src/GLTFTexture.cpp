#include <GLTFReader/GLTFTexture.h>
#include <GLTFReader/JsonDecoder.h>

GLTFImage GLTFImage::decode(const gltf::JsonObject& json) {
    return {
        .uri = json.optional<std::string>("uri"),
        .mimeType = json.optional<std::string>("mimeType"),
        .bufferView = json.optional<std::int64_t>("bufferView"),
        .name = json.optional<std::string>("name"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFSampler GLTFSampler::decode(const gltf::JsonObject& json) {
    return {
        .magFilter = json.optional<std::int64_t>("magFilter"),
        .minFilter = json.optional<std::int64_t>("minFilter"),
        ._wrapS = json.optional<std::int64_t>("wrapS"),
        ._wrapT = json.optional<std::int64_t>("wrapT"),
        .name = json.optional<std::string>("name"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFTexture GLTFTexture::decode(const gltf::JsonObject& json) {
    return {
        .sampler = json.optional<std::int64_t>("sampler"),
        .source = json.optional<std::int64_t>("source"),
        .name = json.optional<std::string>("name"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFTextureInfo GLTFTextureInfo::decode(const gltf::JsonObject& json) {
    return {
        .index = json.required<std::int64_t>("index"),
        ._texCoord = json.optional<std::int64_t>("texCoord"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}
