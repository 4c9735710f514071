#include "vrm/GLTFVRMBlendShape.h"

#include <GLTFReader/JsonDecoder.h>

GLTFVRM_GLTFVRMBind GLTFVRM_GLTFVRMBind::decode(const gltf::JsonObject& json) {
    const GLTFVRM_GLTFVRMBind defaults;
    return {
        .mesh = json.optional("mesh", defaults.mesh),
        .index = json.optional("index", defaults.index),
        .weight = json.optional("weight", defaults.weight),
    };
}

GLTFVRM_GLTFVRMMaterialValue GLTFVRM_GLTFVRMMaterialValue::decode(const gltf::JsonValue&) {
    return {};
}

GLTFVRM_GLTFVRMBlendShapeGroup
GLTFVRM_GLTFVRMBlendShapeGroup::decode(const gltf::JsonObject& json) {
    const GLTFVRM_GLTFVRMBlendShapeGroup defaults;
    return {
        .name = json.optional("name", defaults.name),
        .presetName = json.optional("presetName", defaults.presetName),
        .binds = json.optional("binds", defaults.binds),
        .materialValues = json.optional("materialValues", defaults.materialValues),
    };
}

GLTFVRM_GLTFVRMBlendShapeMaster
GLTFVRM_GLTFVRMBlendShapeMaster::decode(const gltf::JsonObject& json) {
    const GLTFVRM_GLTFVRMBlendShapeMaster defaults;
    return {
        .blendShapeGroups = json.optional("blendShapeGroups", defaults.blendShapeGroups),
    };
}
