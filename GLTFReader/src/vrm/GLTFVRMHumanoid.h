#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gltf {
class JsonObject;
class JsonValue;
} // namespace gltf

// Avatar exporters leave out members that have a default, so every member of these records
// starts at the value a missing member stands for; the decoders keep it when the file is
// silent. A node or mesh index of -1 names nothing.
struct GLTFVRM_GLTFVRMVec3 {
    float x = 0;
    float y = 0;
    float z = 0;

    // {"x": …, "y": …, "z": …}, or [x, y, z] as some exporters write it.
    static GLTFVRM_GLTFVRMVec3 decode(const gltf::JsonValue& json);
};

struct GLTFVRM_GLTFVRMHumanBone {
    std::string bone;
    std::int64_t node = -1;
    bool useDefaultValues = true;

    static GLTFVRM_GLTFVRMHumanBone decode(const gltf::JsonObject& json);
};

struct GLTFVRM_GLTFVRMHumanoid {
    std::vector<GLTFVRM_GLTFVRMHumanBone> humanBones;
    float armStretch = 0.05f;
    float legStretch = 0.05f;
    float upperArmTwist = 0.5f;
    float lowerArmTwist = 0.5f;
    float upperLegTwist = 0.5f;
    float lowerLegTwist = 0.5f;
    float feetSpacing = 0;
    bool hasTranslationDoF = false;

    static GLTFVRM_GLTFVRMHumanoid decode(const gltf::JsonObject& json);
};
