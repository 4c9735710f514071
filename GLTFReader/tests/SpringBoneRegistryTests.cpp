#include "support/VRMTestAvatar.h"
#include "vrm/SpringBoneRegistry.h"
#include "vrm/VRMHost.h"

#include <atomic>
#include <gtest/gtest.h>
#include <set>
#include <thread>

using gltf::testing::VRMTestAvatar;

namespace {

// A two-bone chain hanging from the root, with a sphere collider beside it.
VRMTestAvatar avatarWithSpringBones() {
    VRMTestAvatar avatar;
    avatar.nodes = R"([{"name": "Root", "children": [1]},
                       {"name": "Hair", "children": [2]},
                       {"name": "Tip", "translation": [1, 0, 0]}])";
    avatar.boneGroups = R"([{"stiffiness": 1, "gravityPower": 1,
        "gravityDir": {"x": 0, "y": -1, "z": 0}, "dragForce": 0.4, "center": -1,
        "hitRadius": 0.05, "bones": [1, 7, -1], "colliderGroups": [0, 3]}])";
    avatar.colliderGroups = R"([{"node": 0, "colliders": [
        {"offset": {"x": 0.5, "y": -1, "z": 0}, "radius": 0.3}]}])";
    return avatar;
}

std::string keyOf(const scene::Scene& scene) {
    return *scene.rootNode()->value(GLTFVRM_VRMState::nodeKey)->text();
}

} // namespace

TEST(SpringBoneRegistry, LoadingRegistersTheAvatarsPhysics) {
    const auto scene = avatarWithSpringBones().load();
    const auto physics = GLTFVRM_VRMState::sceneSettings(keyOf(*scene));
    ASSERT_TRUE(physics);
    ASSERT_EQ(physics->colliderGroups.size(), 1u);
    EXPECT_EQ(physics->colliderGroups[0].node.lock(),
              scene->rootNode()->childNodeWithName("Root", false));
    ASSERT_EQ(physics->springBones.size(), 1u);
    const GLTFVRM_VRMSpringBone& springBone = *physics->springBones[0];
    // Unresolved bones and collider-group positions are left out.
    ASSERT_EQ(springBone.rootBones.size(), 1u);
    EXPECT_EQ(springBone.rootBones[0].lock()->name(), "Hair");
    EXPECT_EQ(springBone.colliderGroups.size(), 1u);
    EXPECT_EQ(springBone.verlet.size(), 2u);
    EXPECT_EQ(springBone.settings.stiffnessForce, 1.0f);
    EXPECT_EQ(springBone.settings.hitRadius, 0.05f);
}

// Converting many avatars in one session must not keep their scenes, nor grow the registry.
TEST(SpringBoneRegistry, AvatarsLiveAsLongAsTheirSceneAndEachLoadGetsANewKey) {
    const VRMTestAvatar avatar = avatarWithSpringBones();
    const auto kept = avatar.load();
    const std::size_t registered = GLTFVRM_VRMState::registeredAvatarCount();
    std::set<std::string> keys{keyOf(*kept)};
    std::string droppedKey;
    for (int load = 0; load < 20; ++load) {
        auto scene = avatar.load();
        droppedKey = keyOf(*scene);
        keys.insert(droppedKey);
        const std::weak_ptr<scene::Node> rootNode = scene->rootNode();
        scene.reset();
        EXPECT_TRUE(rootNode.expired());
    }
    EXPECT_EQ(keys.size(), 21u);
    EXPECT_LE(GLTFVRM_VRMState::registeredAvatarCount(), registered + 1);
    EXPECT_FALSE(GLTFVRM_VRMState::sceneSettings(droppedKey));
    EXPECT_TRUE(GLTFVRM_VRMState::sceneSettings(keyOf(*kept)));
}

TEST(SpringBoneRegistry, AvatarsAreSteppedAndRegisteredFromSeveralThreads) {
    const VRMTestAvatar avatar = avatarWithSpringBones();
    std::atomic<int> brokenAvatars{0};
    std::vector<std::thread> threads;
    for (int stepper = 0; stepper < 4; ++stepper) {
        threads.emplace_back([&] {
            const auto scene = avatar.load();
            for (int frame = 0; frame < 200; ++frame) {
                gltf::vrm::updateSpringBones(*scene->rootNode(), frame / 60.0);
            }
            brokenAvatars += gltf::testing::allTransformsFinite(*scene->rootNode()) ? 0 : 1;
        });
    }
    for (int loader = 0; loader < 2; ++loader) {
        threads.emplace_back([&] {
            for (int load = 0; load < 20; ++load) {
                avatar.load();
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(brokenAvatars, 0);
}
