#include "CorpusFiles.h"
#include "support/VRMTestAvatar.h"
#include "vrm/SpringBoneRegistry.h"
#include "vrm/VRMHost.h"

#include <GLTFReader/GLTFSceneSource.h>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

const std::filesystem::path avatars = brightfold::testing::corpus / "vrm";

struct ExpectedAvatar {
    const char* file;
    const char* title;
    std::size_t humanoidBones;
    std::size_t blendShapeGroups;
    std::size_t springBones;
};

// Every VRM 0.x avatar of the corpus, those whose exporters leave out members with defaults
// (Godette, simple_morph, vrm0_frontbake) and write vectors as arrays (vrm0_frontbake) included.
const ExpectedAvatar acceptedAvatars[] = {
    {"EmissionMigration_v0.106.0.vrm", "EmissionTest", 52, 17, 0},
    {"minimal.vrm", "Minimal", 17, 17, 0},
    {"mtoon1_2_20_61_vrm0.vrm", "undefined", 17, 13, 0},
    {"Godette_vrm_v4.vrm", "Low-Poly Godette", 45, 17, 3},
    {"simple_morph.vrm", "SimpleMorph", 17, 17, 0},
    {"vrm0_frontbake.vrm", "usdVrm 0.x Fixture", 2, 0, 1},
};

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

TEST(VRMCorpus, BonesNamingMissingNodesAreSkipped) {
    const std::filesystem::path file =
        avatars.parent_path() / "malformed" / "vrm_bad_node_indices_Godette.vrm";
    if (!std::filesystem::exists(file)) {
        GTEST_SKIP() << "../shared not found: " << file;
    }
    const auto scene = GLTFSceneSource(file).sceneWithOptions();
    const scene::Node& root = *scene->rootNode();
    EXPECT_EQ(gltf::vrm::humanoidNode(root, "hips"), nullptr);
    EXPECT_EQ(entryCount(root.value("VRMHumanoidBones")), 44u);
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
