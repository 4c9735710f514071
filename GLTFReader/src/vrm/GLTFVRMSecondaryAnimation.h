#pragma once

#include "vrm/GLTFVRMHumanoid.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One group of spring-bone chains. The stiffness is read from "stiffiness", the spelling
// avatar files use. Members a file leaves out keep the defaults written here, those avatar
// tools give a new group (see GLTFVRMHumanoid.h).
struct GLTFVRM_GLTFVRMBoneGroup {
    std::optional<std::string> comment;
    float stiffiness = 1;
    float gravityPower = 0;
    GLTFVRM_GLTFVRMVec3 gravityDir{.x = 0, .y = -1, .z = 0};
    float dragForce = 0.4f;
    // A node index, written as a number that may carry a fraction.
    float center = -1;
    float hitRadius = 0.02f;
    // Node indices of the chain roots.
    std::vector<std::int64_t> bones;
    // Indices into the secondary animation's collider groups.
    std::vector<std::int64_t> colliderGroups;

    static GLTFVRM_GLTFVRMBoneGroup decode(const gltf::JsonObject& json);
};

struct GLTFVRM_GLTFVRMCollider {
    GLTFVRM_GLTFVRMVec3 offset;
    float radius = 0.1f;

    static GLTFVRM_GLTFVRMCollider decode(const gltf::JsonObject& json);
};

struct GLTFVRM_GLTFVRMColliderGroup {
    std::int64_t node = -1;
    std::vector<GLTFVRM_GLTFVRMCollider> colliders;

    static GLTFVRM_GLTFVRMColliderGroup decode(const gltf::JsonObject& json);
};

struct GLTFVRM_GLTFVRMSecondaryAnimation {
    std::vector<GLTFVRM_GLTFVRMBoneGroup> boneGroups;
    std::vector<GLTFVRM_GLTFVRMColliderGroup> colliderGroups;

    static GLTFVRM_GLTFVRMSecondaryAnimation decode(const gltf::JsonObject& json);
};
