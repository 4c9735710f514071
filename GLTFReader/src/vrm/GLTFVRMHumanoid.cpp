#include "vrm/GLTFVRMHumanoid.h"

#include <GLTFReader/JsonDecoder.h>
#include <string>
#include <vector>

GLTFVRM_GLTFVRMVec3 GLTFVRM_GLTFVRMVec3::decode(const gltf::JsonValue& json) {
    if (json.element().type() == simdjson::dom::element_type::ARRAY) {
        const auto xyz = json.decode<std::vector<float>>();
        if (xyz.size() != 3) {
            json.fail(gltf::DecodingError::Kind::dataCorrupted,
                      "a vector written as an array needs 3 numbers, has " +
                          std::to_string(xyz.size()));
        }
        return {.x = xyz[0], .y = xyz[1], .z = xyz[2]};
    }
    const gltf::JsonObject object = json.object();
    const GLTFVRM_GLTFVRMVec3 defaults;
    return {
        .x = object.optional("x", defaults.x),
        .y = object.optional("y", defaults.y),
        .z = object.optional("z", defaults.z),
    };
}

GLTFVRM_GLTFVRMHumanBone GLTFVRM_GLTFVRMHumanBone::decode(const gltf::JsonObject& json) {
    const GLTFVRM_GLTFVRMHumanBone defaults;
    return {
        .bone = json.optional("bone", defaults.bone),
        .node = json.optional("node", defaults.node),
        .useDefaultValues = json.optional("useDefaultValues", defaults.useDefaultValues),
    };
}

GLTFVRM_GLTFVRMHumanoid GLTFVRM_GLTFVRMHumanoid::decode(const gltf::JsonObject& json) {
    const GLTFVRM_GLTFVRMHumanoid defaults;
    return {
        .humanBones = json.optional("humanBones", defaults.humanBones),
        .armStretch = json.optional("armStretch", defaults.armStretch),
        .legStretch = json.optional("legStretch", defaults.legStretch),
        .upperArmTwist = json.optional("upperArmTwist", defaults.upperArmTwist),
        .lowerArmTwist = json.optional("lowerArmTwist", defaults.lowerArmTwist),
        .upperLegTwist = json.optional("upperLegTwist", defaults.upperLegTwist),
        .lowerLegTwist = json.optional("lowerLegTwist", defaults.lowerLegTwist),
        .feetSpacing = json.optional("feetSpacing", defaults.feetSpacing),
        .hasTranslationDoF = json.optional("hasTranslationDoF", defaults.hasTranslationDoF),
    };
}
