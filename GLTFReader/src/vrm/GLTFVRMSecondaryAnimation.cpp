#include "vrm/GLTFVRMSecondaryAnimation.h"

#include <GLTFReader/JsonDecoder.h>

GLTFVRM_GLTFVRMBoneGroup GLTFVRM_GLTFVRMBoneGroup::decode(const gltf::JsonObject& json) {
    const GLTFVRM_GLTFVRMBoneGroup defaults;
    return {
        .comment = json.optional<std::string>("comment"),
        .stiffiness = json.optional("stiffiness", defaults.stiffiness),
        .gravityPower = json.optional("gravityPower", defaults.gravityPower),
        .gravityDir = json.optional("gravityDir", defaults.gravityDir),
        .dragForce = json.optional("dragForce", defaults.dragForce),
        .center = json.optional("center", defaults.center),
        .hitRadius = json.optional("hitRadius", defaults.hitRadius),
        .bones = json.optional("bones", defaults.bones),
        .colliderGroups = json.optional("colliderGroups", defaults.colliderGroups),
    };
}

GLTFVRM_GLTFVRMCollider GLTFVRM_GLTFVRMCollider::decode(const gltf::JsonObject& json) {
    const GLTFVRM_GLTFVRMCollider defaults;
    return {
        .offset = json.optional("offset", defaults.offset),
        .radius = json.optional("radius", defaults.radius),
    };
}

GLTFVRM_GLTFVRMColliderGroup GLTFVRM_GLTFVRMColliderGroup::decode(const gltf::JsonObject& json) {
    const GLTFVRM_GLTFVRMColliderGroup defaults;
    return {
        .node = json.optional("node", defaults.node),
        .colliders = json.optional("colliders", defaults.colliders),
    };
}

GLTFVRM_GLTFVRMSecondaryAnimation
GLTFVRM_GLTFVRMSecondaryAnimation::decode(const gltf::JsonObject& json) {
    const GLTFVRM_GLTFVRMSecondaryAnimation defaults;
    return {
        .boneGroups = json.optional("boneGroups", defaults.boneGroups),
        .colliderGroups = json.optional("colliderGroups", defaults.colliderGroups),
    };
}
