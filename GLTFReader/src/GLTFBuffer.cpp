#include <GLTFReader/GLTFBuffer.h>
#include <GLTFReader/JsonDecoder.h>

GLTFBuffer GLTFBuffer::decode(const gltf::JsonObject& json) {
    return {
        .uri = json.optional<std::string>("uri"),
        .byteLength = json.required<std::int64_t>("byteLength"),
        .name = json.optional<std::string>("name"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFBufferView GLTFBufferView::decode(const gltf::JsonObject& json) {
    return {
        .buffer = json.required<std::int64_t>("buffer"),
        ._byteOffset = json.optional<std::int64_t>("byteOffset"),
        .byteLength = json.required<std::int64_t>("byteLength"),
        .byteStride = json.optional<std::int64_t>("byteStride"),
        .target = json.optional<std::int64_t>("target"),
        .name = json.optional<std::string>("name"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}
