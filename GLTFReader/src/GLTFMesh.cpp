#include <GLTFReader/GLTFMesh.h>
#include <GLTFReader/JsonDecoder.h>

GLTFMeshPrimitive GLTFMeshPrimitive::decode(const gltf::JsonObject& json) {
    using AttributeMap = std::map<std::string, std::int64_t>;
    return {
        .attributes = json.required<AttributeMap>("attributes"),
        .indices = json.optional<std::int64_t>("indices"),
        .material = json.optional<std::int64_t>("material"),
        ._mode = json.optional<std::int64_t>("mode"),
        .targets = json.optional<std::vector<AttributeMap>>("targets"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFMesh GLTFMesh::decode(const gltf::JsonObject& json) {
    return {
        .primitives = json.required<std::vector<GLTFMeshPrimitive>>("primitives"),
        .weights = json.optional<std::vector<float>>("weights"),
        .name = json.optional<std::string>("name"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}
