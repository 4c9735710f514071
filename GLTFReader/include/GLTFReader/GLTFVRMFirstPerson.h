#pragma once

#include <GLTFReader/GLTFVRMHumanoid.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct GLTFVRM_GLTFVRMMeshAnnotation {
    std::int64_t mesh;
    std::string firstPersonFlag;

    static GLTFVRM_GLTFVRMMeshAnnotation decode(const gltf::JsonObject& json);
};

struct GLTFVRM_GLTFVRMDegreeMap {
    std::optional<std::vector<float>> curve;
    float xRange;
    float yRange;

    static GLTFVRM_GLTFVRMDegreeMap decode(const gltf::JsonObject& json);
};

struct GLTFVRM_GLTFVRMFirstperson {
    std::int64_t firstPersonBone;
    GLTFVRM_GLTFVRMVec3 firstPersonBoneOffset;
    std::vector<GLTFVRM_GLTFVRMMeshAnnotation> meshAnnotations;
    std::string lookAtTypeName;
    GLTFVRM_GLTFVRMDegreeMap lookAtHorizontalInner;
    GLTFVRM_GLTFVRMDegreeMap lookAtHorizontalOuter;
    GLTFVRM_GLTFVRMDegreeMap lookAtVerticalDown;
    GLTFVRM_GLTFVRMDegreeMap lookAtVerticalUp;

    static GLTFVRM_GLTFVRMFirstperson decode(const gltf::JsonObject& json);
};
