#include <GLTFReader/GLTFVRMFirstPerson.h>
#include <GLTFReader/JsonDecoder.h>

GLTFVRM_GLTFVRMMeshAnnotation GLTFVRM_GLTFVRMMeshAnnotation::decode(const gltf::JsonObject& json) {
    return {
        .mesh = json.required<std::int64_t>("mesh"),
        .firstPersonFlag = json.required<std::string>("firstPersonFlag"),
    };
}

GLTFVRM_GLTFVRMDegreeMap GLTFVRM_GLTFVRMDegreeMap::decode(const gltf::JsonObject& json) {
    return {
        .curve = json.optional<std::vector<float>>("curve"),
        .xRange = json.required<float>("xRange"),
        .yRange = json.required<float>("yRange"),
    };
}

GLTFVRM_GLTFVRMFirstperson GLTFVRM_GLTFVRMFirstperson::decode(const gltf::JsonObject& json) {
    using DegreeMap = GLTFVRM_GLTFVRMDegreeMap;
    return {
        .firstPersonBone = json.required<std::int64_t>("firstPersonBone"),
        .firstPersonBoneOffset = json.required<GLTFVRM_GLTFVRMVec3>("firstPersonBoneOffset"),
        .meshAnnotations =
            json.required<std::vector<GLTFVRM_GLTFVRMMeshAnnotation>>("meshAnnotations"),
        .lookAtTypeName = json.required<std::string>("lookAtTypeName"),
        .lookAtHorizontalInner = json.required<DegreeMap>("lookAtHorizontalInner"),
        .lookAtHorizontalOuter = json.required<DegreeMap>("lookAtHorizontalOuter"),
        .lookAtVerticalDown = json.required<DegreeMap>("lookAtVerticalDown"),
        .lookAtVerticalUp = json.required<DegreeMap>("lookAtVerticalUp"),
    };
}
