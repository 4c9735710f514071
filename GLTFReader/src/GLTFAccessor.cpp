#include <GLTFReader/GLTFAccessor.h>
#include <GLTFReader/JsonDecoder.h>

GLTFAccessorSparseIndices GLTFAccessorSparseIndices::decode(const gltf::JsonObject& json) {
    return {
        .bufferView = json.required<std::int64_t>("bufferView"),
        ._byteOffset = json.optional<std::int64_t>("byteOffset"),
        .componentType = json.required<std::int64_t>("componentType"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFAccessorSparseValues GLTFAccessorSparseValues::decode(const gltf::JsonObject& json) {
    return {
        .bufferView = json.required<std::int64_t>("bufferView"),
        ._byteOffset = json.optional<std::int64_t>("byteOffset"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFAccessorSparse GLTFAccessorSparse::decode(const gltf::JsonObject& json) {
    return {
        .count = json.required<std::int64_t>("count"),
        .indices = json.required<GLTFAccessorSparseIndices>("indices"),
        .values = json.required<GLTFAccessorSparseValues>("values"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFAccessor GLTFAccessor::decode(const gltf::JsonObject& json) {
    return {
        .bufferView = json.optional<std::int64_t>("bufferView"),
        ._byteOffset = json.optional<std::int64_t>("byteOffset"),
        .componentType = json.required<std::int64_t>("componentType"),
        ._normalized = json.optional<bool>("normalized"),
        .count = json.required<std::int64_t>("count"),
        .type = json.required<std::string>("type"),
        .max = json.optional<std::vector<float>>("max"),
        .min = json.optional<std::vector<float>>("min"),
        .sparse = json.optional<GLTFAccessorSparse>("sparse"),
        .name = json.optional<std::string>("name"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}
