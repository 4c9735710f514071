#pragma once

#include <SceneGraph/Node.h>
#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Spring bones make chains of an avatar's bones (hair, tails, cloth) swing behind the body:
// every bone has one tail point that is integrated with verlet steps under inertia, stiffness,
// drag and gravity, kept at the bone's length, pushed out of sphere colliders, and the bone is
// turned towards it. All arithmetic is in 32-bit floats.
//
// The objects refer to scene nodes weakly: a spring bone never keeps an avatar's scene alive,
// and a node that has gone is simply no longer simulated.

// A sphere that keeps tails out. `offset` is its centre in the collider node's space; in the
// list a step builds, it is the world-space centre.
struct GLTFVRM_VRMSphereCollider {
    glm::vec3 offset{0.0f};
    float radius = 0;
};

// Spheres that move with one node of the avatar.
struct GLTFVRM_VRMSpringBoneColliderGroup {
    std::weak_ptr<scene::Node> node;
    std::vector<GLTFVRM_VRMSphereCollider> colliders;
};

// One simulated bone. Tails are in world space, or in `center`'s space when there is one.
class GLTFVRM_VRMSpringBoneLogic {
  public:
    // `localTail`: where the tail sits in the bone's own space now.
    GLTFVRM_VRMSpringBoneLogic(const std::shared_ptr<scene::Node>& bone, const scene::Node* center,
                               const glm::vec3& localTail);

    // One verlet step: moves the tail, keeps it at `length` from the bone, pushes it out of
    // every sphere it touches, then turns the bone towards it.
    void update(const scene::Node* center, const std::vector<GLTFVRM_VRMSphereCollider>& colliders,
                float stiffness, float dragForce, const glm::vec3& externalForce);

    const std::weak_ptr<scene::Node> node;
    // Distance kept between the bone and its tail.
    const float length;
    glm::vec3 currentTail;
    glm::vec3 prevTail;
    // The bone's local rotation at set-up.
    const glm::quat localRotation;
    // Unit direction from the bone to its tail in the bone's space (zero when the tail
    // coincides with the bone, which leaves the bone unturned).
    const glm::vec3 boneAxis;
    // Collision radius of the tail.
    float radius = 0.5f;

  private:
    glm::vec3 keptAtLength(const glm::vec3& pivot, const glm::vec3& point) const;
    glm::vec3 pushedOutOfColliders(const glm::vec3& pivot, glm::vec3 tail,
                                   const std::vector<GLTFVRM_VRMSphereCollider>& colliders) const;
    void aimAt(scene::Node& bone, const glm::vec3& worldTail) const;
};

// One group of chains sharing their settings.
class GLTFVRM_VRMSpringBone {
  public:
    struct Settings {
        std::optional<std::string> comment;
        float stiffnessForce = 0;
        float gravityPower = 0;
        glm::vec3 gravityDir{0.0f};
        float dragForce = 0;
        // Collision radius of every tail of the group.
        float hitRadius = 0;
    };

    // Builds the simulated bones at once (`setUp`).
    GLTFVRM_VRMSpringBone(Settings settings, std::vector<std::weak_ptr<scene::Node>> rootBones,
                          std::vector<GLTFVRM_VRMSpringBoneColliderGroup> colliderGroups,
                          std::weak_ptr<scene::Node> center = {});

    // Puts back the rotations recorded at the last set-up, then records the rotations of every
    // node under the root bones and builds one simulated bone per node, depth-first.
    void setUp();

    // One step of `deltaTime` (in the host's time unit) for every simulated bone, colliding
    // with all `colliderGroups` given (those of the whole avatar).
    void update(const std::vector<GLTFVRM_VRMSpringBoneColliderGroup>& colliderGroups,
                float deltaTime);

    const Settings settings;
    // Node in whose space tails are kept; none keeps them in world space.
    const std::weak_ptr<scene::Node> center;
    const std::vector<std::weak_ptr<scene::Node>> rootBones;
    std::map<std::weak_ptr<scene::Node>, glm::quat, std::owner_less<>> initialLocalRotationMap;
    // The groups the file lists for this chain; a step collides with every group of the avatar.
    const std::vector<GLTFVRM_VRMSpringBoneColliderGroup> colliderGroups;
    std::vector<std::shared_ptr<GLTFVRM_VRMSpringBoneLogic>> verlet;
    // World-space spheres of the current step.
    std::vector<GLTFVRM_VRMSphereCollider> colliderList;

  private:
    void setUpChain(scene::Node& node);
};
