#include <GLTFReader/GLTFNode.h>
#include <GLTFReader/JsonDecoder.h>

GLTFNode GLTFNode::decode(const gltf::JsonObject& json) {
    return {
        .camera = json.optional<std::int64_t>("camera"),
        .children = json.optional<std::vector<std::int64_t>>("children"),
        .skin = json.optional<std::int64_t>("skin"),
        ._matrix = json.optional<std::vector<float>>("matrix"),
        .mesh = json.optional<std::int64_t>("mesh"),
        ._rotation = json.optional<std::vector<float>>("rotation"),
        ._scale = json.optional<std::vector<float>>("scale"),
        ._translation = json.optional<std::vector<float>>("translation"),
        .weights = json.optional<std::vector<float>>("weights"),
        .name = json.optional<std::string>("name"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFScene GLTFScene::decode(const gltf::JsonObject& json) {
    return {
        .nodes = json.optional<std::vector<std::int64_t>>("nodes"),
        .name = json.optional<std::string>("name"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}

GLTFSkin GLTFSkin::decode(const gltf::JsonObject& json) {
    return {
        .inverseBindMatrices = json.optional<std::int64_t>("inverseBindMatrices"),
        .skeleton = json.optional<std::int64_t>("skeleton"),
        .joints = json.required<std::vector<std::int64_t>>("joints"),
        .name = json.optional<std::string>("name"),
        .extensions = json.optional<GLTFExtension>("extensions"),
        .extras = json.optional<GLTFExtras>("extras"),
    };
}
