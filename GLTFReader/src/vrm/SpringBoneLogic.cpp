#include "vrm/SpringBone.h"
#include "vrm/SpringBoneMath.h"

#include <algorithm>

namespace {

using gltf::vrm::localPointOf;
using gltf::vrm::worldPointOf;

// Tails are kept in the center node's space when there is one, so that a moving avatar does
// not drag its hair through the world.
glm::vec3 toWorld(const scene::Node* center, const glm::vec3& tail) {
    return center ? worldPointOf(*center, tail) : tail;
}

glm::vec3 fromWorld(const scene::Node* center, const glm::vec3& worldTail) {
    return center ? localPointOf(*center, worldTail) : worldTail;
}

// The rotation the bone would have at rest under its parent's present world rotation.
glm::quat restingRotation(const scene::Node& bone, const glm::quat& localRotation) {
    const std::shared_ptr<scene::Node> parent = bone.parentNode();
    const glm::quat parentRotation =
        parent ? gltf::vrm::worldRotationOf(*parent) : glm::quat(1.0f, 0.0f, 0.0f, 0.0f);
    return gltf::vrm::normalizedOrIdentity(parentRotation * localRotation);
}

} // namespace

GLTFVRM_VRMSpringBoneLogic::GLTFVRM_VRMSpringBoneLogic(const std::shared_ptr<scene::Node>& bone,
                                                       const scene::Node* center,
                                                       const glm::vec3& localTail)
    : node(bone), length(gltf::vrm::accumulatedScaleX(*bone) * glm::length(localTail)),
      currentTail(fromWorld(center, worldPointOf(*bone, localTail))), prevTail(currentTail),
      localRotation(gltf::vrm::localRotationOf(*bone)),
      boneAxis(gltf::vrm::normalized(localTail).value_or(glm::vec3(0.0f))) {}

void GLTFVRM_VRMSpringBoneLogic::update(const scene::Node* center,
                                        const std::vector<GLTFVRM_VRMSphereCollider>& colliders,
                                        float stiffness, float dragForce,
                                        const glm::vec3& externalForce) {
    const std::shared_ptr<scene::Node> bone = node.lock();
    if (!bone) {
        return;
    }
    const glm::vec3 current = toWorld(center, currentTail);
    const glm::vec3 previous = toWorld(center, prevTail);
    const float decay = std::max(1.0f - dragForce, 0.0f);
    const glm::vec3 axis = restingRotation(*bone, localRotation) * boneAxis;
    const glm::vec3 moved =
        current + (current - previous) * decay + axis * stiffness + externalForce;

    const glm::vec3 pivot = gltf::vrm::worldPositionOf(*bone);
    const glm::vec3 next = pushedOutOfColliders(pivot, keptAtLength(pivot, moved), colliders);

    prevTail = fromWorld(center, current);
    currentTail = fromWorld(center, next);
    aimAt(*bone, next);
}

// A tail on the bone itself has no direction to keep; it stays where it is.
glm::vec3 GLTFVRM_VRMSpringBoneLogic::keptAtLength(const glm::vec3& pivot,
                                                   const glm::vec3& point) const {
    const std::optional<glm::vec3> direction = gltf::vrm::normalized(point - pivot);
    return direction ? pivot + *direction * length : point;
}

// A tail exactly at the reach counts as touching. Later spheres see the corrected tail.
glm::vec3 GLTFVRM_VRMSpringBoneLogic::pushedOutOfColliders(
    const glm::vec3& pivot, glm::vec3 tail,
    const std::vector<GLTFVRM_VRMSphereCollider>& colliders) const {
    for (const GLTFVRM_VRMSphereCollider& sphere : colliders) {
        const float reach = sphere.radius + radius;
        const glm::vec3 fromCentre = tail - sphere.offset;
        if (glm::dot(fromCentre, fromCentre) > reach * reach) {
            continue;
        }
        if (const std::optional<glm::vec3> outward = gltf::vrm::normalized(fromCentre)) {
            tail = keptAtLength(pivot, sphere.offset + *outward * reach);
        }
    }
    return tail;
}

void GLTFVRM_VRMSpringBoneLogic::aimAt(scene::Node& bone, const glm::vec3& worldTail) const {
    gltf::vrm::setLocalRotation(bone, localRotation);
    const std::optional<glm::vec3> from = gltf::vrm::normalized(boneAxis);
    const std::optional<glm::vec3> to = gltf::vrm::normalized(localPointOf(bone, worldTail));
    if (!from || !to) {
        return;
    }
    gltf::vrm::setLocalRotation(
        bone, gltf::vrm::normalizedOrIdentity(localRotation * gltf::vrm::shortestArc(*from, *to)));
}
