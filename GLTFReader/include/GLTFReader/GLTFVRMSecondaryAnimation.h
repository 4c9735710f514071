#pragma once

#include <GLTFReader/GLTFVRMHumanoid.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One group of spring-bone chains. The stiffness is read from "stiffiness", the spelling
// avatar files use.
struct GLTFVRM_GLTFVRMBoneGroup {
    std::optional<std::string> comment;
    float stiffiness;
    float gravityPower;
    GLTFVRM_GLTFVRMVec3 gravityDir;
    float dragForce;
    // A node index, written as a number that may carry a fraction.
    float center;
    float hitRadius;
    // Node indices of the chain roots.
    std::vector<std::int64_t> bones;
    // Indices into the secondary animation's collider groups.
    std::vector<std::int64_t> colliderGroups;

    static GLTFVRM_GLTFVRMBoneGroup decode(const gltf::JsonObject& json);
};

struct GLTFVRM_GLTFVRMCollider {
    GLTFVRM_GLTFVRMVec3 offset;
    float radius;

    static GLTFVRM_GLTFVRMCollider decode(const gltf::JsonObject& json);
};

struct GLTFVRM_GLTFVRMColliderGroup {
    std::int64_t node;
    std::vector<GLTFVRM_GLTFVRMCollider> colliders;

    static GLTFVRM_GLTFVRMColliderGroup decode(const gltf::JsonObject& json);
};

struct GLTFVRM_GLTFVRMSecondaryAnimation {
    std::vector<GLTFVRM_GLTFVRMBoneGroup> boneGroups;
    std::vector<GLTFVRM_GLTFVRMColliderGroup> colliderGroups;

    static GLTFVRM_GLTFVRMSecondaryAnimation decode(const gltf::JsonObject& json);
};
