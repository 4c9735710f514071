#include "support/VRMTestAvatar.h"

#include <GLTFReader/GLTFSceneSource.h>
#include <GLTFReader/SpringBoneRegistry.h>
#include <GLTFReader/VRMHost.h>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

const std::filesystem::path avatars =
    std::filesystem::path(BRIGHTFOLD_SHARED_DIR) / "corpus" / "vrm";

struct ExpectedAvatar {
    const char* file;
    const char* title;
    std::size_t humanoidBones;
    std::size_t blendShapeGroups;
    std::size_t springBones;
};

// The avatars the reader accepts. The others leave out members their records require and are
// refused (the messages are checked with the rest of the corpus).
const ExpectedAvatar acceptedAvatars[] = {
    {"EmissionMigration_v0.106.0.vrm", "EmissionTest", 52, 17, 0},
    {"minimal.vrm", "Minimal", 17, 17, 0},
    {"mtoon1_2_20_61_vrm0.vrm", "undefined", 17, 13, 0},
};
const char* const refusedAvatars[] = {"Godette_vrm_v4.vrm", "simple_morph.vrm",
                                      "vrm0_frontbake.vrm"};

std::size_t entryCount(const scene::Value* table) {
    return table != nullptr && table->is<scene::ValueDictionary>()
               ? table->as<scene::ValueDictionary>()->size()
               : 0;
}

} // namespace

TEST(VRMCorpus, AcceptedAvatarsCarryTheirTablesAndStayFiniteUnderPhysics) {
    if (!std::filesystem::exists(avatars)) {
        GTEST_SKIP() << "../shared not found: " << avatars;
    }
    for (const ExpectedAvatar& expected : acceptedAvatars) {
        SCOPED_TRACE(expected.file);
        const auto scene = GLTFSceneSource(avatars / expected.file).sceneWithOptions();
        scene::Node& root = *scene->rootNode();
        const auto& meta = *scene->value("VRMMeta")->as<scene::ValueDictionary>();
        EXPECT_EQ(meta.size(), 13u);
        EXPECT_EQ(meta.at("title"), scene::Value(expected.title));
        EXPECT_EQ(entryCount(root.value("VRMHumanoidBones")), expected.humanoidBones);
        EXPECT_NE(gltf::vrm::humanoidNode(root, "hips"), nullptr);
        EXPECT_EQ(entryCount(root.value("VRMBlendShapes")), expected.blendShapeGroups);
        const auto physics =
            GLTFVRM_VRMState::sceneSettings(*root.value(GLTFVRM_VRMState::nodeKey)->text());
        ASSERT_TRUE(physics);
        EXPECT_EQ(physics->springBones.size(), expected.springBones);
        for (int frame = 0; frame < 300; ++frame) {
            gltf::vrm::updateSpringBones(root, frame / 60.0);
        }
        EXPECT_TRUE(gltf::testing::allTransformsFinite(root));
    }
}

TEST(VRMCorpus, AvatarsMissingRequiredMembersAreRefused) {
    if (!std::filesystem::exists(avatars)) {
        GTEST_SKIP() << "../shared not found: " << avatars;
    }
    for (const char* file : refusedAvatars) {
        const GLTFSceneSource source(avatars / file);
        EXPECT_EQ(source.loader(), nullptr) << file;
    }
}

TEST(VRMCorpus, OtherAvatarFormatsLoadAsPlainGLTF) {
    if (!std::filesystem::exists(avatars)) {
        GTEST_SKIP() << "../shared not found: " << avatars;
    }
    const auto scene = GLTFSceneSource(avatars / "modifier_shapekey_vrm1.vrm").sceneWithOptions();
    EXPECT_EQ(scene->value("VRMMeta"), nullptr);
    EXPECT_EQ(scene->rootNode()->value(GLTFVRM_VRMState::nodeKey), nullptr);
    EXPECT_GT(scene->rootNode()->childNodes().size(), 0u);
}
