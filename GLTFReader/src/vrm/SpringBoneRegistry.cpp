#include "vrm/SpringBoneRegistry.h"

#include <map>
#include <mutex>
#include <shared_mutex>
#include <uuid/uuid.h>

namespace {

struct Avatar {
    GLTFVRM_VRMPhysicsSettings settings;
    std::weak_ptr<scene::Node> rootNode;
};

// The registry keeps two tables, each behind its own lock: the avatars (read by every step,
// written by each registration) and the times of the last steps (read and written together by
// each step, so always exclusively). No code holds both locks at once.
struct Registry {
    std::shared_mutex GLTFVRM_sceneSettingsQueue;
    std::map<std::string, Avatar> sceneSettings;
    std::shared_mutex GLTFVRM_updatedAtQueue;
    std::map<std::string, double> updatedAt;
};

Registry& registry() {
    static Registry shared;
    return shared;
}

std::string newUniqueKey() {
    uuid_t identifier;
    uuid_generate_random(identifier);
    char text[37];
    uuid_unparse_upper(identifier, text);
    return text;
}

// Drops the avatars whose scene has gone; returns their keys.
std::vector<std::string> forgetDeadAvatars(std::map<std::string, Avatar>& avatars) {
    std::vector<std::string> dead;
    for (auto entry = avatars.begin(); entry != avatars.end();) {
        if (entry->second.rootNode.expired()) {
            dead.push_back(entry->first);
            entry = avatars.erase(entry);
        } else {
            ++entry;
        }
    }
    return dead;
}

} // namespace

std::string GLTFVRM_VRMState::registerAvatar(GLTFVRM_VRMPhysicsSettings settings,
                                             const std::shared_ptr<scene::Node>& rootNode) {
    std::string key = newUniqueKey();
    rootNode->setValue(nodeKey, key);
    Registry& shared = registry();
    std::vector<std::string> dead;
    {
        std::unique_lock barrier(shared.GLTFVRM_sceneSettingsQueue);
        dead = forgetDeadAvatars(shared.sceneSettings);
        shared.sceneSettings[key] = Avatar{std::move(settings), rootNode};
    }
    std::unique_lock barrier(shared.GLTFVRM_updatedAtQueue);
    for (const std::string& deadKey : dead) {
        shared.updatedAt.erase(deadKey);
    }
    return key;
}

std::optional<GLTFVRM_VRMPhysicsSettings> GLTFVRM_VRMState::sceneSettings(const std::string& key) {
    Registry& shared = registry();
    std::shared_lock reading(shared.GLTFVRM_sceneSettingsQueue);
    const auto found = shared.sceneSettings.find(key);
    if (found == shared.sceneSettings.end() || found->second.rootNode.expired()) {
        return std::nullopt;
    }
    return found->second.settings;
}

double GLTFVRM_VRMState::timeSinceLastUpdate(const std::string& key, double time) {
    Registry& shared = registry();
    std::unique_lock barrier(shared.GLTFVRM_updatedAtQueue);
    const auto [entry, first] = shared.updatedAt.try_emplace(key, time);
    const double elapsed = first ? 0.0 : time - entry->second;
    entry->second = time;
    return elapsed;
}

std::size_t GLTFVRM_VRMState::registeredAvatarCount() {
    Registry& shared = registry();
    std::shared_lock reading(shared.GLTFVRM_sceneSettingsQueue);
    return shared.sceneSettings.size();
}
