#include "CorpusFiles.h"
#include "SceneInspection.h"

#include <GLTFReader/GLTFSceneSource.h>
#include <ModelImporter/ModelImporter.h>
#include <SceneGraph/AnimationClip.h>
#include <SceneGraph/AnimationPlayback.h>
#include <SceneGraph/MaterialContract.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Skinner.h>
#include <algorithm>
#include <gtest/gtest.h>

using namespace modelimporter;

namespace {

constexpr double tolerance = 1e-5;

// The same file through our glTF reader and through the Assimp path.
struct BothReadings {
    std::shared_ptr<scene::Scene> reader;
    std::shared_ptr<scene::Scene> importer;
};

BothReadings readBoth(const std::filesystem::path& file) {
    return {GLTFSceneSource(file).sceneWithOptions(), importWithAssimp(file)};
}

std::vector<std::shared_ptr<scene::Node>> skinnedNodes(const scene::Scene& scene) {
    return nodesWith(scene, &scene::Node::skinner);
}

std::vector<std::shared_ptr<scene::Node>> morphedNodes(const scene::Scene& scene) {
    return nodesWith(scene, &scene::Node::morpher);
}

void expectMatricesNear(const scene::Matrix4& actual, const scene::Matrix4& expected,
                        const std::string& what) {
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            EXPECT_NEAR(actual[c][r], expected[c][r], tolerance)
                << what << " [" << c << "][" << r << "]";
        }
    }
}

// Whether the animation (or one inside it) follows cubic-spline tangents. Assimp gives no
// tangents, so the importer plays such channels straight through their key values and only
// the reader follows the curve between keys.
bool followsTangents(const scene::Animation& animation) {
    if (const auto* keyframes = dynamic_cast<const scene::KeyframeAnimation*>(&animation)) {
        return !keyframes->inTangents.empty();
    }
    const auto* group = dynamic_cast<const scene::AnimationGroup*>(&animation);
    return group && std::any_of(group->animations.begin(), group->animations.end(),
                                [](const auto& inner) { return followsTangents(*inner); });
}

bool playsCubicSplines(const scene::Node& node) {
    const auto& entries = node.animations();
    return std::any_of(entries.begin(), entries.end(),
                       [](const auto& entry) { return followsTangents(*entry.animation); });
}

// Whether the node, or a node above it, moves along a cubic spline.
bool movesAlongCubicSplines(const scene::Node& node) {
    for (auto above = node.parentNode(); above; above = above->parentNode()) {
        if (playsCubicSplines(*above)) {
            return true;
        }
    }
    return playsCubicSplines(node);
}

// Plays every animation of both scenes to `seconds` and compares the world transform of every
// named node of the reader's scene, stepped or linear, with the importer's node of that name.
void expectSamePoseAt(const BothReadings& both, double seconds) {
    scene::applyAnimations(*both.reader->rootNode(), seconds);
    scene::applyAnimations(*both.importer->rootNode(), seconds);
    both.reader->rootNode()->enumerateHierarchy([&](const scene::Node& node) {
        if (node.name().empty() || node.geometry() || movesAlongCubicSplines(node)) {
            return;
        }
        const auto imported = both.importer->rootNode()->childNodeWithName(node.name(), true);
        ASSERT_NE(imported, nullptr) << node.name();
        expectMatricesNear(imported->worldTransform(), node.worldTransform(),
                           node.name() + " at " + std::to_string(seconds) + " s");
    });
}

std::size_t keyframeCount(const scene::Node& node) {
    std::size_t keys = 0;
    for (const auto& entry : node.animations()) {
        for (const auto& member :
             dynamic_cast<const scene::AnimationGroup&>(*entry.animation).animations) {
            keys += dynamic_cast<const scene::KeyframeAnimation&>(*member).keyTimes.size();
        }
    }
    return keys;
}

TEST(AssimpMotion, SkinsMatchTheGltfReader) {
    for (const char* path : {"gltf/blender-03_skinned_cylinder/03_skinned_cylinder.gltf"}) {
        const auto file = brightfold::testing::corpusFile(path);
        REQUIRE_CORPUS_FILE(file);
        const auto both = readBoth(file);
        const auto expected = skinnedNodes(*both.reader);
        const auto actual = skinnedNodes(*both.importer);
        ASSERT_EQ(actual.size(), expected.size()) << path;
        for (std::size_t s = 0; s < actual.size(); ++s) {
            const auto& skinner = *actual[s]->skinner();
            const auto& reference = *expected[s]->skinner();
            EXPECT_EQ(skinner.skeleton(), actual[s]) << path;
            ASSERT_EQ(skinner.boneCount(), reference.boneCount()) << path;
            for (std::size_t b = 0; b < skinner.boneCount(); ++b) {
                EXPECT_EQ(skinner.bones()[b]->name(), reference.bones()[b]->name()) << path;
                expectMatricesNear(skinner.boneInverseBindTransforms()->at(b),
                                   reference.boneInverseBindTransforms()->at(b),
                                   std::string(path) + " bone " + std::to_string(b));
            }
            ASSERT_EQ(skinner.boneWeights()->vectorCount(), reference.boneWeights()->vectorCount());
        }
    }
}

TEST(AssimpMotion, NodeAnimationsPlayAsInTheGltfReader) {
    const auto file = brightfold::testing::corpusFile(
        "gltf/blender-03_skinned_cylinder/03_skinned_cylinder.gltf");
    REQUIRE_CORPUS_FILE(file);
    const auto both = readBoth(file);
    for (const char* joint : {"Joint_One", "Joint_Two", "Joint_Three", "Joint_Four"}) {
        const auto node = both.importer->rootNode()->childNodeWithName(joint, true);
        EXPECT_EQ(keyframeCount(*node), 3u * 49u) << joint;
    }
    expectSamePoseAt(both, 0.37);
    expectSamePoseAt(both, 1.51);
}

// The glTF reader refuses this file (it has a third joint set), so it only ever converts
// through the importer: ten bones, three vertices with more than four influences.
TEST(AssimpMotion, InfluencesBeyondFourAreCutToTheStrongestAndNoted) {
    const auto file = brightfold::testing::corpusFile("glb/quad_skin.glb");
    REQUIRE_CORPUS_FILE(file);
    const auto scene = importWithAssimp(file);
    const auto& skinner = *skinnedNodes(*scene)[0]->skinner();
    ASSERT_EQ(skinner.boneCount(), 10u);
    for (std::size_t v = 0; v < skinner.boneWeights()->vectorCount(); ++v) {
        const glm::dvec4 weights = skinner.boneWeights()->vector(v);
        EXPECT_NEAR(weights.x + weights.y + weights.z + weights.w, 1.0, tolerance);
        EXPECT_TRUE(glm::all(glm::lessThan(skinner.boneIndices()->vector(v), glm::dvec4(10))));
    }
    const auto notes = scene::notes(*scene);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0], "3 vertices of mesh \"Plane\" follow more than four bones; only the "
                        "strongest four of each are kept, their weights scaled to add up to one.");
}

// Step, linear and cubic-spline channels of translation, rotation and scale.
TEST(AssimpMotion, InterpolationsPlayAsInTheGltfReader) {
    const auto file =
        brightfold::testing::corpusFile("gltf/InterpolationTest/InterpolationTest.gltf");
    REQUIRE_CORPUS_FILE(file);
    const auto both = readBoth(file);
    const auto stepped = both.importer->rootNode()->childNodeWithName("Cube", true);
    const auto& steppedScale = dynamic_cast<const scene::KeyframeAnimation&>(
        *dynamic_cast<const scene::AnimationGroup&>(*stepped->animationForKey("scale"))
             .animations.front());
    EXPECT_EQ(steppedScale.calculationMode, scene::AnimationCalculationMode::discrete);
    EXPECT_EQ(steppedScale.values.size(), 5u);
    EXPECT_EQ(stepped->animations().size(), 1u) << "no animation restating the node's own value";
    expectSamePoseAt(both, 0.3);
    expectSamePoseAt(both, 1.1);
}

// Target offsets of every primitive, default weights, and the weights played at two times.
TEST(AssimpMotion, MorphTargetsMatchTheGltfReader) {
    for (const char* path : {"gltf/AnimatedMorphCube/AnimatedMorphCube.gltf",
                             "gltf/MorphStressTest/MorphStressTest.gltf",
                             "gltf/blender-01_cs_morph/01_cs_morph.gltf"}) {
        const auto file = brightfold::testing::corpusFile(path);
        REQUIRE_CORPUS_FILE(file);
        const auto both = readBoth(file);
        for (const double seconds : {0.0, 0.45, 1.3}) {
            scene::applyAnimations(*both.reader->rootNode(), seconds);
            scene::applyAnimations(*both.importer->rootNode(), seconds);
            const auto expected = morphedNodes(*both.reader);
            const auto actual = morphedNodes(*both.importer);
            ASSERT_EQ(actual.size(), expected.size()) << path;
            for (std::size_t m = 0; m < actual.size(); ++m) {
                const auto& morpher = *actual[m]->morpher();
                const auto& reference = *expected[m]->morpher();
                ASSERT_EQ(morpher.targets().size(), reference.targets().size()) << path;
                EXPECT_EQ(morpher.calculationMode(), reference.calculationMode());
                const auto weightsNode = expected[m]->parentNode();
                if (seconds > 0 && weightsNode && weightsNode->parentNode() &&
                    playsCubicSplines(*weightsNode->parentNode())) {
                    continue; // between keys only the reader follows the curve
                }
                for (std::size_t t = 0; t < morpher.targets().size(); ++t) {
                    EXPECT_NEAR(morpher.weight(t), reference.weight(t), tolerance)
                        << path << " target " << t << " at " << seconds << " s";
                }
            }
        }
    }
}

// Each animation of the file is a clip of the same index and name, whichever path read it.
TEST(AssimpMotion, ClipsAreTheFilesAnimationsAsInTheGltfReader) {
    for (const char* path : {"gltf/MorphStressTest/MorphStressTest.gltf",
                             "gltf/blender-06_parent-inverse-anim/06_parent-inverse-anim.gltf"}) {
        const auto file = brightfold::testing::corpusFile(path);
        REQUIRE_CORPUS_FILE(file);
        const auto both = readBoth(file);
        const auto clips = scene::animationClipsOf(*both.importer->rootNode());
        EXPECT_GE(clips.size(), 3u) << path;
        EXPECT_EQ(clips, scene::animationClipsOf(*both.reader->rootNode())) << path;
    }
}

TEST(AssimpMotion, MorphTargetOffsetsMatchTheGltfReader) {
    const auto file = brightfold::testing::corpusFile("gltf/MorphStressTest/MorphStressTest.gltf");
    REQUIRE_CORPUS_FILE(file);
    const auto both = readBoth(file);
    const auto expected = morphedNodes(*both.reader);
    const auto actual = morphedNodes(*both.importer);
    ASSERT_EQ(actual.size(), 2u);
    for (std::size_t m = 0; m < actual.size(); ++m) {
        for (std::size_t t = 0; t < 8; ++t) {
            const auto& target = *actual[m]->morpher()->targets()[t];
            const auto& reference = *expected[m]->morpher()->targets()[t];
            EXPECT_EQ(target.name(), reference.name());
            for (const auto semantic :
                 {scene::GeometrySemantic::vertex, scene::GeometrySemantic::normal}) {
                const auto offsets = target.firstSource(semantic);
                const auto referenceOffsets = reference.firstSource(semantic);
                ASSERT_NE(offsets, nullptr);
                ASSERT_EQ(offsets->vectorCount(), referenceOffsets->vectorCount());
                for (std::size_t v = 0; v < offsets->vectorCount(); ++v) {
                    ASSERT_LT(glm::distance(offsets->vector(v), referenceOffsets->vector(v)),
                              tolerance)
                        << "primitive " << m << " target " << t << " vertex " << v;
                }
            }
        }
    }
}

} // namespace
