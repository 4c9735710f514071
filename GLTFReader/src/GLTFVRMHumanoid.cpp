#include <GLTFReader/GLTFVRMHumanoid.h>
#include <GLTFReader/JsonDecoder.h>

GLTFVRM_GLTFVRMVec3 GLTFVRM_GLTFVRMVec3::decode(const gltf::JsonObject& json) {
    return {
        .x = json.required<float>("x"),
        .y = json.required<float>("y"),
        .z = json.required<float>("z"),
    };
}

GLTFVRM_GLTFVRMHumanBone GLTFVRM_GLTFVRMHumanBone::decode(const gltf::JsonObject& json) {
    return {
        .bone = json.required<std::string>("bone"),
        .node = json.required<std::int64_t>("node"),
        .useDefaultValues = json.required<bool>("useDefaultValues"),
    };
}

GLTFVRM_GLTFVRMHumanoid GLTFVRM_GLTFVRMHumanoid::decode(const gltf::JsonObject& json) {
    return {
        .humanBones = json.required<std::vector<GLTFVRM_GLTFVRMHumanBone>>("humanBones"),
        .armStretch = json.required<float>("armStretch"),
        .legStretch = json.required<float>("legStretch"),
        .upperArmTwist = json.required<float>("upperArmTwist"),
        .lowerArmTwist = json.required<float>("lowerArmTwist"),
        .upperLegTwist = json.required<float>("upperLegTwist"),
        .lowerLegTwist = json.required<float>("lowerLegTwist"),
        .feetSpacing = json.required<float>("feetSpacing"),
        .hasTranslationDoF = json.required<bool>("hasTranslationDoF"),
    };
}
