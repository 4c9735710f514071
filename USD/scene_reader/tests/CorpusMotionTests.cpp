// Real skinned and animated USD files keep their skeletons, skins, blend shapes and
// animations, in the numbers OpenUSD itself reports for them.

#include "CorpusSupport.h"
#include "SceneReaderTestSupport.h"

#include <SceneGraph/Animation.h>
#include <SceneGraph/AnimationPlayback.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Skinner.h>
#include <gtest/gtest.h>

namespace usd::test {
namespace {

struct Motion {
    std::size_t skinnedMeshes = 0;
    std::vector<std::size_t> boneCounts; // per skinned mesh
    std::size_t morphTargets = 0;
    std::size_t animatedNodes = 0;
    std::size_t mostKeys = 0; // in any one key-frame animation
};

Motion motionOf(const scene::Scene& scene) {
    Motion motion;
    scene.rootNode()->enumerateHierarchy([&](const scene::Node& node) {
        if (node.skinner()) {
            ++motion.skinnedMeshes;
            motion.boneCounts.push_back(node.skinner()->boneCount());
        }
        motion.morphTargets += node.morpher() ? node.morpher()->targets().size() : 0;
        motion.animatedNodes += node.animations().empty() ? 0 : 1;
        for (const scene::AnimationEntry& entry : node.animations()) {
            const auto& group = static_cast<const scene::AnimationGroup&>(*entry.animation);
            for (const auto& member : group.animations) {
                const auto& keys = static_cast<const scene::KeyframeAnimation&>(*member);
                motion.mostKeys = std::max(motion.mostKeys, keys.values.size());
            }
        }
    });
    return motion;
}

struct ReadCorpusFile {
    std::shared_ptr<scene::Scene> scene;
    SceneReadNotes notes;
};

// Null when ../shared is missing.
std::unique_ptr<ReadCorpusFile> readCorpusFile(const std::string& relative) {
    const std::filesystem::path file = corpusFolder("usd") / relative;
    if (!std::filesystem::exists(file)) {
        return nullptr;
    }
    auto read = std::make_unique<ReadCorpusFile>();
    read->scene = file.extension() == ".usdz" ? readUSDZ(file, read->notes)
                                              : readUSDLayerFile(file, read->notes);
    return read;
}

#define READ_OR_SKIP(variable, relative)                                                           \
    const auto variable = readCorpusFile(relative);                                                \
    if (!variable) {                                                                               \
        GTEST_SKIP() << "../shared not found: " << BRIGHTFOLD_SHARED_DIR;                          \
    }

TEST(CorpusMotion, SkinnedCharactersKeepTheirJointsAndEveryAnimationSample) {
    READ_OR_SKIP(rigged, "RiggedSimple/RiggedSimple.usdz");
    const Motion simple = motionOf(*rigged->scene);
    EXPECT_EQ(simple.boneCounts, std::vector<std::size_t>{2});
    EXPECT_EQ(simple.mostKeys, 50u);

    READ_OR_SKIP(cesium, "CesiumMan/CesiumMan.usdz");
    const Motion man = motionOf(*cesium->scene);
    EXPECT_EQ(man.boneCounts, std::vector<std::size_t>{19});
    EXPECT_EQ(man.mostKeys, 48u);
    EXPECT_GE(man.animatedNodes, 19u);

    READ_OR_SKIP(elephant, "SoC-ElephantWithMonochord/SoC-ElephantWithMonochord.usdc");
    const Motion large = motionOf(*elephant->scene);
    EXPECT_EQ(large.skinnedMeshes, 2u);
    EXPECT_GE(large.mostKeys, 3023u);
}

TEST(CorpusMotion, StillSkeletonsBlendShapesAndNodeAnimationsAreRead) {
    READ_OR_SKIP(skin, "skintest.usdc");
    EXPECT_EQ(motionOf(*skin->scene).boneCounts, std::vector<std::size_t>{2});
    EXPECT_EQ(motionOf(*skin->scene).animatedNodes, 0u);

    READ_OR_SKIP(shapes, "blendshape.usdc");
    EXPECT_EQ(motionOf(*shapes->scene).morphTargets, 1u);

    READ_OR_SKIP(triangle, "AnimatedTriangle/AnimatedTriangle.usdz");
    const Motion turning = motionOf(*triangle->scene);
    EXPECT_EQ(turning.animatedNodes, 1u);
    EXPECT_GE(turning.mostKeys, 5u);
}

} // namespace
} // namespace usd::test
