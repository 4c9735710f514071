#include <GLTFReader/GLTFVRMBlendShape.h>
#include <GLTFReader/JsonDecoder.h>

GLTFVRM_GLTFVRMBind GLTFVRM_GLTFVRMBind::decode(const gltf::JsonObject& json) {
    return {
        .mesh = json.required<std::int64_t>("mesh"),
        .index = json.required<std::int64_t>("index"),
        .weight = json.required<float>("weight"),
    };
}

GLTFVRM_GLTFVRMMaterialValue GLTFVRM_GLTFVRMMaterialValue::decode(const gltf::JsonValue&) {
    return {};
}

GLTFVRM_GLTFVRMBlendShapeGroup
GLTFVRM_GLTFVRMBlendShapeGroup::decode(const gltf::JsonObject& json) {
    return {
        .name = json.required<std::string>("name"),
        .presetName = json.required<std::string>("presetName"),
        .binds = json.required<std::vector<GLTFVRM_GLTFVRMBind>>("binds"),
        .materialValues =
            json.required<std::vector<GLTFVRM_GLTFVRMMaterialValue>>("materialValues"),
    };
}

GLTFVRM_GLTFVRMBlendShapeMaster
GLTFVRM_GLTFVRMBlendShapeMaster::decode(const gltf::JsonObject& json) {
    return {
        .blendShapeGroups =
            json.required<std::vector<GLTFVRM_GLTFVRMBlendShapeGroup>>("blendShapeGroups"),
    };
}
