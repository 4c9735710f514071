// The avatar's spring bones and colliders, built from the file's records once the scene is
// loaded. Records naming nodes that were not loaded are left out.
#include "vrm/SpringBoneRegistry.h"
#include "vrm/VRMSetUpSteps.h"

namespace gltf::vrm {
namespace {

// Nodes are found again by name below the root, as the file's indices name them.
std::shared_ptr<scene::Node> resolveNode(const NodeCache& nodes, std::int64_t index,
                                         const scene::Node& rootNode) {
    const std::string* name = loadedNodeName(nodes, index);
    return name ? rootNode.childNodeWithName(*name, true) : nullptr;
}

glm::vec3 vectorOf(const GLTFVRM_GLTFVRMVec3& vector) {
    return {vector.x, vector.y, vector.z};
}

std::vector<GLTFVRM_VRMSpringBoneColliderGroup>
colliderGroupsOf(const std::vector<GLTFVRM_GLTFVRMColliderGroup>& records, const NodeCache& nodes,
                 const scene::Node& rootNode) {
    std::vector<GLTFVRM_VRMSpringBoneColliderGroup> groups;
    for (const GLTFVRM_GLTFVRMColliderGroup& record : records) {
        const std::shared_ptr<scene::Node> node = resolveNode(nodes, record.node, rootNode);
        if (!node) {
            continue;
        }
        GLTFVRM_VRMSpringBoneColliderGroup group{node, {}};
        for (const GLTFVRM_GLTFVRMCollider& collider : record.colliders) {
            group.colliders.push_back({vectorOf(collider.offset), collider.radius});
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

// `colliderGroups` of a bone group are positions in the list of groups that were built.
std::shared_ptr<GLTFVRM_VRMSpringBone>
springBoneOf(const GLTFVRM_GLTFVRMBoneGroup& record,
             const std::vector<GLTFVRM_VRMSpringBoneColliderGroup>& builtColliderGroups,
             const NodeCache& nodes, const scene::Node& rootNode) {
    std::vector<std::weak_ptr<scene::Node>> rootBones;
    for (const std::int64_t index : record.bones) {
        if (const std::shared_ptr<scene::Node> bone = resolveNode(nodes, index, rootNode)) {
            rootBones.push_back(bone);
        }
    }
    std::vector<GLTFVRM_VRMSpringBoneColliderGroup> colliderGroups;
    for (const std::int64_t position : record.colliderGroups) {
        if (position >= 0 && static_cast<std::uint64_t>(position) < builtColliderGroups.size()) {
            colliderGroups.push_back(builtColliderGroups[static_cast<std::size_t>(position)]);
        }
    }
    GLTFVRM_VRMSpringBone::Settings settings{
        .comment = record.comment,
        .stiffnessForce = record.stiffiness,
        .gravityPower = record.gravityPower,
        .gravityDir = vectorOf(record.gravityDir),
        .dragForce = record.dragForce,
        .hitRadius = record.hitRadius,
    };
    return std::make_shared<GLTFVRM_VRMSpringBone>(std::move(settings), std::move(rootBones),
                                                   std::move(colliderGroups));
}

} // namespace

void setUpSpringBones(const GLTFVRM_GLTFVRMSecondaryAnimation& animation, const NodeCache& nodes,
                      const scene::Scene& scene) {
    const scene::Node& rootNode = *scene.rootNode();
    GLTFVRM_VRMPhysicsSettings physics;
    physics.colliderGroups = colliderGroupsOf(animation.colliderGroups, nodes, rootNode);
    for (const GLTFVRM_GLTFVRMBoneGroup& group : animation.boneGroups) {
        physics.springBones.push_back(springBoneOf(group, physics.colliderGroups, nodes, rootNode));
    }
    GLTFVRM_VRMState::registerAvatar(std::move(physics), scene.rootNode());
}

} // namespace gltf::vrm
