#include "vrm/GLTFVRMFirstPerson.h"

#include <GLTFReader/JsonDecoder.h>

GLTFVRM_GLTFVRMMeshAnnotation GLTFVRM_GLTFVRMMeshAnnotation::decode(const gltf::JsonObject& json) {
    const GLTFVRM_GLTFVRMMeshAnnotation defaults;
    return {
        .mesh = json.optional("mesh", defaults.mesh),
        .firstPersonFlag = json.optional("firstPersonFlag", defaults.firstPersonFlag),
    };
}

GLTFVRM_GLTFVRMDegreeMap GLTFVRM_GLTFVRMDegreeMap::decode(const gltf::JsonObject& json) {
    const GLTFVRM_GLTFVRMDegreeMap defaults;
    return {
        .curve = json.optional<std::vector<float>>("curve"),
        .xRange = json.optional("xRange", defaults.xRange),
        .yRange = json.optional("yRange", defaults.yRange),
    };
}

GLTFVRM_GLTFVRMFirstperson GLTFVRM_GLTFVRMFirstperson::decode(const gltf::JsonObject& json) {
    const GLTFVRM_GLTFVRMFirstperson defaults;
    return {
        .firstPersonBone = json.optional("firstPersonBone", defaults.firstPersonBone),
        .firstPersonBoneOffset =
            json.optional("firstPersonBoneOffset", defaults.firstPersonBoneOffset),
        .meshAnnotations = json.optional("meshAnnotations", defaults.meshAnnotations),
        .lookAtTypeName = json.optional("lookAtTypeName", defaults.lookAtTypeName),
        .lookAtHorizontalInner =
            json.optional("lookAtHorizontalInner", defaults.lookAtHorizontalInner),
        .lookAtHorizontalOuter =
            json.optional("lookAtHorizontalOuter", defaults.lookAtHorizontalOuter),
        .lookAtVerticalDown = json.optional("lookAtVerticalDown", defaults.lookAtVerticalDown),
        .lookAtVerticalUp = json.optional("lookAtVerticalUp", defaults.lookAtVerticalUp),
    };
}
