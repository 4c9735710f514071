#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gltf {
class JsonObject;
}

struct GLTFVRM_GLTFVRMVec3 {
    float x;
    float y;
    float z;

    static GLTFVRM_GLTFVRMVec3 decode(const gltf::JsonObject& json);
};

struct GLTFVRM_GLTFVRMHumanBone {
    std::string bone;
    std::int64_t node;
    bool useDefaultValues;

    static GLTFVRM_GLTFVRMHumanBone decode(const gltf::JsonObject& json);
};

struct GLTFVRM_GLTFVRMHumanoid {
    std::vector<GLTFVRM_GLTFVRMHumanBone> humanBones;
    float armStretch;
    float legStretch;
    float upperArmTwist;
    float lowerArmTwist;
    float upperLegTwist;
    float lowerLegTwist;
    float feetSpacing;
    bool hasTranslationDoF;

    static GLTFVRM_GLTFVRMHumanoid decode(const gltf::JsonObject& json);
};
