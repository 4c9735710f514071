#pragma once

#include "vrm/SpringBone.h"

#include <SceneGraph/Node.h>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The physics of one avatar.
struct GLTFVRM_VRMPhysicsSettings {
    // Every collider group of the avatar; each spring bone collides with all of them.
    std::vector<GLTFVRM_VRMSpringBoneColliderGroup> colliderGroups;
    std::vector<std::shared_ptr<GLTFVRM_VRMSpringBone>> springBones;
};

// The process-wide registry of loaded avatars, keyed by the text stored on each avatar's root
// node under `nodeKey`, with the time each avatar was last stepped. Every registration makes a
// new key, so loading a file twice gives two avatars.
//
// An entry lives as long as its avatar's scene: the registry refers to the scene's nodes only
// weakly and forgets avatars whose root node has gone, so converting many avatars in one
// session does not accumulate them. All members are safe to call from several threads; stepping
// one avatar is not, see updateSpringBones.
class GLTFVRM_VRMState {
  public:
    static constexpr const char* nodeKey = "GLTFVRM_NodeKey";

    // Makes a new key, stores it on `rootNode` under `nodeKey` and registers `settings` under it.
    // Returns the key.
    static std::string registerAvatar(GLTFVRM_VRMPhysicsSettings settings,
                                      const std::shared_ptr<scene::Node>& rootNode);

    // The avatar registered under `key`, or none (never registered, or its scene has gone).
    static std::optional<GLTFVRM_VRMPhysicsSettings> sceneSettings(const std::string& key);

    // `time` minus the time recorded for `key` by the previous call (0 on the first call), and
    // records `time`. The difference is negative when time went backwards.
    static double timeSinceLastUpdate(const std::string& key, double time);

    // How many avatars the registry holds. Those whose scene has gone are dropped at the next
    // registration.
    static std::size_t registeredAvatarCount();
};
