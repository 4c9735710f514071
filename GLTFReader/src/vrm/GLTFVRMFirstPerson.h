#pragma once

#include "vrm/GLTFVRMHumanoid.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Members a file leaves out keep the defaults written here (see GLTFVRMHumanoid.h).
struct GLTFVRM_GLTFVRMMeshAnnotation {
    std::int64_t mesh = -1;
    std::string firstPersonFlag = "Auto";

    static GLTFVRM_GLTFVRMMeshAnnotation decode(const gltf::JsonObject& json);
};

struct GLTFVRM_GLTFVRMDegreeMap {
    std::optional<std::vector<float>> curve;
    float xRange = 90;
    float yRange = 10;

    static GLTFVRM_GLTFVRMDegreeMap decode(const gltf::JsonObject& json);
};

struct GLTFVRM_GLTFVRMFirstperson {
    std::int64_t firstPersonBone = -1;
    GLTFVRM_GLTFVRMVec3 firstPersonBoneOffset;
    std::vector<GLTFVRM_GLTFVRMMeshAnnotation> meshAnnotations;
    std::string lookAtTypeName = "Bone";
    GLTFVRM_GLTFVRMDegreeMap lookAtHorizontalInner;
    GLTFVRM_GLTFVRMDegreeMap lookAtHorizontalOuter;
    GLTFVRM_GLTFVRMDegreeMap lookAtVerticalDown;
    GLTFVRM_GLTFVRMDegreeMap lookAtVerticalUp;

    static GLTFVRM_GLTFVRMFirstperson decode(const gltf::JsonObject& json);
};
