#include <GLTFReader/GLTFVRMSecondaryAnimation.h>
#include <GLTFReader/JsonDecoder.h>

GLTFVRM_GLTFVRMBoneGroup GLTFVRM_GLTFVRMBoneGroup::decode(const gltf::JsonObject& json) {
    return {
        .comment = json.optional<std::string>("comment"),
        .stiffiness = json.required<float>("stiffiness"),
        .gravityPower = json.required<float>("gravityPower"),
        .gravityDir = json.required<GLTFVRM_GLTFVRMVec3>("gravityDir"),
        .dragForce = json.required<float>("dragForce"),
        .center = json.required<float>("center"),
        .hitRadius = json.required<float>("hitRadius"),
        .bones = json.required<std::vector<std::int64_t>>("bones"),
        .colliderGroups = json.required<std::vector<std::int64_t>>("colliderGroups"),
    };
}

GLTFVRM_GLTFVRMCollider GLTFVRM_GLTFVRMCollider::decode(const gltf::JsonObject& json) {
    return {
        .offset = json.required<GLTFVRM_GLTFVRMVec3>("offset"),
        .radius = json.required<float>("radius"),
    };
}

GLTFVRM_GLTFVRMColliderGroup GLTFVRM_GLTFVRMColliderGroup::decode(const gltf::JsonObject& json) {
    return {
        .node = json.required<std::int64_t>("node"),
        .colliders = json.required<std::vector<GLTFVRM_GLTFVRMCollider>>("colliders"),
    };
}

GLTFVRM_GLTFVRMSecondaryAnimation
GLTFVRM_GLTFVRMSecondaryAnimation::decode(const gltf::JsonObject& json) {
    return {
        .boneGroups = json.required<std::vector<GLTFVRM_GLTFVRMBoneGroup>>("boneGroups"),
        .colliderGroups =
            json.required<std::vector<GLTFVRM_GLTFVRMColliderGroup>>("colliderGroups"),
    };
}
