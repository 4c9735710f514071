#include "vrm/VRMHost.h"

#include "vrm/SpringBoneRegistry.h"

#include <SceneGraph/KeyPath.h>
#include <SceneGraph/MaterialContract.h>
#include <algorithm>
#include <string>
#include <vector>

namespace gltf::vrm {
namespace {

const scene::ValueDictionary* dictionaryAt(const scene::ValueDictionary* dictionary,
                                           std::string_view key) {
    const scene::Value* value = dictionary ? scene::findValue(*dictionary, key) : nullptr;
    return value ? value->as<scene::ValueDictionary>() : nullptr;
}

const scene::ValueDictionary* rootTable(const scene::Node& rootNode, std::string_view key) {
    const scene::Value* value = rootNode.value(key);
    return value ? value->as<scene::ValueDictionary>() : nullptr;
}

std::vector<std::string> avatarKeysIn(const scene::Node& node) {
    std::vector<std::string> keys;
    node.enumerateHierarchy([&](const scene::Node& visited) {
        const scene::Value* key = visited.value(GLTFVRM_VRMState::nodeKey);
        if (key != nullptr && key->is<std::string>()) {
            keys.push_back(*key->as<std::string>());
        }
    });
    return keys;
}

void stepAvatar(const std::string& key, double time) {
    const std::optional<GLTFVRM_VRMPhysicsSettings> avatar = GLTFVRM_VRMState::sceneSettings(key);
    if (!avatar) {
        return;
    }
    const auto deltaTime =
        static_cast<float>(std::max(GLTFVRM_VRMState::timeSinceLastUpdate(key, time), 0.0));
    for (const std::shared_ptr<GLTFVRM_VRMSpringBone>& springBone : avatar->springBones) {
        springBone->update(avatar->colliderGroups, deltaTime);
    }
}

} // namespace

void setBlendShape(scene::Node& rootNode, std::string_view groupKey, double value) {
    const scene::ValueDictionary* weights =
        dictionaryAt(rootTable(rootNode, scene::node_keys::avatarBlendShapes), groupKey);
    if (weights == nullptr) {
        return;
    }
    for (const auto& [keyPath, weight] : *weights) {
        try {
            rootNode.setValueForKeyPath(keyPath, weight.number().value_or(0.0) * value);
        } catch (const scene::KeyPathError&) {
            // The file binds a morph target or primitive the mesh does not have.
        }
    }
}

std::shared_ptr<scene::Node> humanoidNode(const scene::Node& rootNode, std::string_view boneName) {
    const scene::ValueDictionary* bones = rootTable(rootNode, "VRMHumanoidBones");
    const scene::Value* name = bones ? scene::findValue(*bones, boneName) : nullptr;
    if (name == nullptr || !name->is<std::string>()) {
        return nullptr;
    }
    return rootNode.childNodeWithName(*name->as<std::string>(), true);
}

void updateSpringBones(scene::Node& node, double time) {
    for (const std::string& key : avatarKeysIn(node)) {
        stepAvatar(key, time);
    }
}

} // namespace gltf::vrm
