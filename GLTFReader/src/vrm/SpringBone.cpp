#include "vrm/SpringBone.h"

#include "vrm/SpringBoneMath.h"

#include <algorithm>

namespace {

// How far beyond a leaf bone its tail lies, along the direction from its parent to it.
constexpr float leafTailLength = 0.07f;

// Where the tail of `node` lies in its own space: at its first child, or for a leaf a little
// beyond it. None for a leaf whose direction is unknown (no parent, or on its parent).
std::optional<glm::vec3> localTailOf(const scene::Node& node) {
    if (!node.childNodes().empty()) {
        return glm::vec3(node.childNodes().front()->position());
    }
    const std::shared_ptr<scene::Node> parent = node.parentNode();
    if (!parent) {
        return std::nullopt;
    }
    const glm::vec3 position = gltf::vrm::worldPositionOf(node);
    const std::optional<glm::vec3> direction =
        gltf::vrm::normalized(position - gltf::vrm::worldPositionOf(*parent));
    if (!direction) {
        return std::nullopt;
    }
    return gltf::vrm::localPointOf(node, position + *direction * leafTailLength);
}

std::vector<GLTFVRM_VRMSphereCollider>
worldSpheres(const std::vector<GLTFVRM_VRMSpringBoneColliderGroup>& colliderGroups) {
    std::vector<GLTFVRM_VRMSphereCollider> spheres;
    for (const GLTFVRM_VRMSpringBoneColliderGroup& group : colliderGroups) {
        const std::shared_ptr<scene::Node> node = group.node.lock();
        if (!node) {
            continue;
        }
        for (const GLTFVRM_VRMSphereCollider& sphere : group.colliders) {
            spheres.push_back({gltf::vrm::worldPointOf(*node, sphere.offset), sphere.radius});
        }
    }
    return spheres;
}

} // namespace

GLTFVRM_VRMSpringBone::GLTFVRM_VRMSpringBone(
    Settings settings, std::vector<std::weak_ptr<scene::Node>> rootBones,
    std::vector<GLTFVRM_VRMSpringBoneColliderGroup> colliderGroups,
    std::weak_ptr<scene::Node> center)
    : settings(std::move(settings)), center(std::move(center)), rootBones(std::move(rootBones)),
      colliderGroups(std::move(colliderGroups)) {
    setUp();
}

void GLTFVRM_VRMSpringBone::setUp() {
    for (const auto& [node, rotation] : initialLocalRotationMap) {
        if (const std::shared_ptr<scene::Node> restored = node.lock()) {
            gltf::vrm::setLocalRotation(*restored, rotation);
        }
    }
    initialLocalRotationMap.clear();
    verlet.clear();
    for (const std::weak_ptr<scene::Node>& weakRoot : rootBones) {
        const std::shared_ptr<scene::Node> root = weakRoot.lock();
        if (!root) {
            continue;
        }
        root->enumerateHierarchy([this](scene::Node& node) {
            initialLocalRotationMap[node.weak_from_this()] = gltf::vrm::localRotationOf(node);
        });
        setUpChain(*root);
    }
}

void GLTFVRM_VRMSpringBone::setUpChain(scene::Node& node) {
    if (const std::optional<glm::vec3> localTail = localTailOf(node)) {
        verlet.push_back(std::make_shared<GLTFVRM_VRMSpringBoneLogic>(
            node.shared_from_this(), center.lock().get(), *localTail));
    }
    for (const std::shared_ptr<scene::Node>& child : node.childNodes()) {
        setUpChain(*child);
    }
}

void GLTFVRM_VRMSpringBone::update(
    const std::vector<GLTFVRM_VRMSpringBoneColliderGroup>& avatarColliderGroups, float deltaTime) {
    if (verlet.empty()) {
        if (rootBones.empty()) {
            return;
        }
        setUp();
    }
    colliderList = worldSpheres(avatarColliderGroups);
    const float stiffness = std::min(settings.stiffnessForce * deltaTime, 1.0f);
    const glm::vec3 externalForce = settings.gravityDir * (settings.gravityPower * deltaTime);
    const std::shared_ptr<scene::Node> centerNode = center.lock();
    for (const std::shared_ptr<GLTFVRM_VRMSpringBoneLogic>& bone : verlet) {
        bone->radius = settings.hitRadius;
        bone->update(centerNode.get(), colliderList, stiffness, settings.dragForce, externalForce);
    }
}
