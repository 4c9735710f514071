// Moving scenes written as USDZ and read back: the same joints and inverse binds, and at two
// moments of the timeline the same skinned vertex positions, morph weights and node
// transforms, within float precision.

#include "MovingScenes.h"
#include "StaticCorpus.h"

#include <GLTFReader/GLTFSceneSource.h>
#include <SceneGraph/AnimationPlayback.h>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Skinner.h>
#include <USD/scene_reader/SceneReader.h>
#include <USD/scene_writer/SceneWriter.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>

namespace usd::test {
namespace {

constexpr double kTolerance = 1e-4;
constexpr double kMoments[] = {0.25, 0.8};

std::shared_ptr<scene::Scene> writtenAndRead(const scene::Scene& scene, const std::string& name) {
    const auto folder = std::filesystem::path(BRIGHTFOLD_BINARY_DIR) / "motion_round_trip";
    std::filesystem::create_directories(folder);
    const auto package = folder / (name + ".usdz");
    const USDZWriteResult written = writeUSDZ(scene, package);
    EXPECT_TRUE(written.succeeded) << written.failure;
    return readUSDZ(package);
}

const scene::Node* firstNode(const scene::Scene& scene,
                             const std::function<bool(const scene::Node&)>& test) {
    const scene::Node* found = nullptr;
    scene.rootNode()->enumerateHierarchy([&](const scene::Node& node) {
        if (!found && test(node))
            found = &node;
    });
    return found;
}

// Where the skin puts a vertex in world space: each bone's world transform times its inverse
// bind, blended by weight (the skinned node's own transform plays no part).
glm::dvec3 skinnedPosition(const scene::Node& node, std::size_t vertex) {
    const scene::Skinner& skinner = *node.skinner();
    const glm::dvec3 rest(
        skinner.baseGeometry()->firstSource(scene::GeometrySemantic::vertex)->vector(vertex));
    const scene::GeometrySource& weights = *skinner.boneWeights();
    const scene::GeometrySource& bones = *skinner.boneIndices();
    glm::dvec3 skinned(0.0);
    for (int slot = 0; slot < std::min(weights.componentsPerVector(), 4); ++slot) {
        const double weight = weights.normalizedVector(vertex)[slot];
        if (weight == 0)
            continue;
        const auto bone = static_cast<std::size_t>(bones.vector(vertex)[slot]);
        const scene::Matrix4 inverseBind = skinner.boneInverseBindTransforms()
                                               ? (*skinner.boneInverseBindTransforms())[bone]
                                               : scene::Matrix4(1.0);
        skinned += weight * scene::transformPoint(
                                skinner.bones()[bone]->worldTransform() * inverseBind, rest);
    }
    return skinned;
}

glm::dvec3 restPosition(const scene::Node& node, std::size_t vertex) {
    return glm::dvec3(
        node.geometry()->firstSource(scene::GeometrySemantic::vertex)->vector(vertex));
}

// The vertex of `original` at the rest position of vertex `v` of `read`: a reader may number
// the points otherwise.
std::size_t sameVertex(const scene::Node& original, const scene::Node& read, std::size_t v) {
    const auto positions = original.geometry()->firstSource(scene::GeometrySemantic::vertex);
    for (std::size_t o = 0; o < positions->vectorCount(); ++o)
        if (glm::distance(restPosition(original, o), restPosition(read, v)) < kTolerance)
            return o;
    ADD_FAILURE() << "no vertex of the original lies where read vertex " << v << " does";
    return 0;
}

void expectNear(const glm::dvec3& actual, const glm::dvec3& expected, const std::string& what) {
    EXPECT_LT(glm::distance(actual, expected), kTolerance)
        << what << ": (" << actual.x << ", " << actual.y << ", " << actual.z << ") for ("
        << expected.x << ", " << expected.y << ", " << expected.z << ")";
}

void expectNear(const scene::Matrix4& actual, const scene::Matrix4& expected,
                const std::string& what) {
    for (int column = 0; column < 4; ++column)
        expectNear(glm::dvec3(actual[column]), glm::dvec3(expected[column]), what);
}

const scene::Node* boneNamed(const scene::Skinner& skinner, const std::string& name,
                             std::size_t& index) {
    const auto bones = skinner.bones();
    for (index = 0; index < bones.size(); ++index)
        if (bones[index] && bones[index]->name() == name)
            return bones[index].get();
    return nullptr;
}

TEST(MotionRoundTrip, SkinnedVerticesJointsAndInverseBindsComeBack) {
    Rig made = rig({{1, 0, 0, 0}, {0.5, 0.5, 0, 0}, {0.25, 0.75, 0, 0}, {0, 1, 0, 0}},
                   {{0, 0, 0, 0}, {0, 1, 0, 0}, {0, 1, 0, 0}, {0, 1, 0, 0}});
    const double half = std::sqrt(0.5);
    made.hips->addAnimation(
        looping(1.0, keys("orientation", {0, 1},
                          {glm::dvec4(0, 0, 0, 1), glm::dvec4(0, 0, half, half)}, 1.0)));
    made.spine->addAnimation(
        looping(1.0, keys("position", {0, 0.5, 1},
                          {glm::dvec3(0, 1, 0), glm::dvec3(1, 1, 0), glm::dvec3(0, 1, 0)}, 1.0)));
    const auto read = writtenAndRead(*made.scene, "rig");
    const scene::Node* body =
        firstNode(*read, [](const scene::Node& n) { return n.skinner() != nullptr; });
    ASSERT_NE(body, nullptr);
    const scene::Skinner& skinner = *body->skinner();
    EXPECT_EQ(skinner.boneCount(), 2u);

    const scene::Skinner& original = *made.body->skinner();
    for (const std::string name : {"Hips", "Spine"}) {
        std::size_t readIndex = 0, originalIndex = 0;
        ASSERT_NE(boneNamed(skinner, name, readIndex), nullptr) << name;
        ASSERT_NE(boneNamed(original, name, originalIndex), nullptr);
        ASSERT_TRUE(skinner.boneInverseBindTransforms());
        expectNear((*skinner.boneInverseBindTransforms())[readIndex],
                   (*original.boneInverseBindTransforms())[originalIndex], name + " inverse bind");
    }
    for (const double seconds : kMoments) {
        scene::applyAnimations(*made.scene->rootNode(), seconds);
        scene::applyAnimations(*read->rootNode(), seconds);
        for (std::size_t v = 0; v < 4; ++v)
            expectNear(skinnedPosition(*body, v),
                       skinnedPosition(*made.body, sameVertex(*made.body, *body, v)),
                       "vertex " + std::to_string(v) + " at " + std::to_string(seconds) + " s");
    }
}

TEST(MotionRoundTrip, MorphWeightsComeBackAtEveryMoment) {
    const MorphScene made = morphScene();
    made.face->addAnimation(looping(
        0.5, keys("childNodes[0].childNodes[0].morpher.weights[0]", {0, 1}, {0.0, 1.0}, 0.5)));
    auto spinner = child(made.scene->rootNode(), "Spinner");
    spinner->addAnimation(
        looping(1.0, keys("position", {0, 1}, {glm::dvec3(0.0), glm::dvec3(1.0)}, 1.0)));
    const auto read = writtenAndRead(*made.scene, "morph");
    const scene::Node* morphed = firstNode(
        *read, [](const scene::Node& n) { return n.morpher() && !n.morpher()->targets().empty(); });
    ASSERT_NE(morphed, nullptr);
    for (const double seconds : kMoments) {
        scene::applyAnimations(*made.scene->rootNode(), seconds);
        scene::applyAnimations(*read->rootNode(), seconds);
        EXPECT_NEAR(morphed->morpher()->weight(0), made.primitive->morpher()->weight(0), kTolerance)
            << "at " << seconds << " s";
    }
}

TEST(MotionRoundTrip, AnimatedNodeTransformsComeBack) {
    auto made = emptyScene();
    auto swing = child(made->rootNode(), "Swing", {1, 2, 3});
    const double half = std::sqrt(0.5);
    swing->addAnimation(
        looping(2.0, keys("orientation", {0, 1},
                          {glm::dvec4(0, 0, 0, 1), glm::dvec4(half, 0, 0, half)}, 2.0)));
    swing->addAnimation(looping(
        2.0, keys("scale", {0, 0.5}, {glm::dvec3(1.0), glm::dvec3(2.0)}, 2.0, /*steps=*/true)));
    auto hand = child(swing, "Hand", {0, 1, 0});
    hand->addAnimation(
        looping(2.0, keys("position", {0, 1}, {glm::dvec3(0, 1, 0), glm::dvec3(0, 3, 0)}, 1.0)));
    const auto read = writtenAndRead(*made, "nodes");
    const scene::Node* readHand =
        firstNode(*read, [](const scene::Node& n) { return n.name() == "Hand"; });
    ASSERT_NE(readHand, nullptr);
    for (const double seconds : {0.25, 1.5}) {
        scene::applyAnimations(*made->rootNode(), seconds);
        scene::applyAnimations(*read->rootNode(), seconds);
        expectNear(readHand->worldTransform(), hand->worldTransform(),
                   "Hand at " + std::to_string(seconds) + " s");
    }
}

// Named nodes that animations move (directly or through an ancestor), by name.
std::map<std::string, const scene::Node*> movingNodes(const scene::Scene& scene) {
    std::map<std::string, const scene::Node*> nodes;
    scene.rootNode()->enumerateHierarchy([&](const scene::Node& node) {
        bool moves = false;
        for (const scene::Node* n = &node; n && !moves; n = n->parentNode().get())
            moves = !n->animations().empty();
        if (moves && !node.name().empty())
            nodes.emplace(node.name(), &node);
    });
    return nodes;
}

// Leaves on the scene only the animations the package plays: those of no clip and of the
// clips written.
void keepPlayedClips(scene::Scene& scene, const std::vector<std::size_t>& played) {
    scene.rootNode()->enumerateHierarchy([&](scene::Node& node) {
        std::vector<std::string> unplayed;
        for (const scene::AnimationEntry& entry : node.animations())
            if (const auto& clip = entry.animation->clip;
                clip && std::ranges::find(played, clip->index) == played.end())
                unplayed.push_back(entry.key);
        for (const std::string& key : unplayed)
            node.removeAnimation(key);
    });
}

class CorpusMotionRoundTrip : public ::testing::TestWithParam<CorpusModel> {};

// At whole codes the written samples hold the scene's values exactly, steps and cubic splines
// included; these moments are whole codes.
TEST_P(CorpusMotionRoundTrip, AnimatedNodesAreWhereTheSceneHasThem) {
    std::shared_ptr<scene::Scene> made;
    try {
        made = GLTFSceneSource(GetParam().file).sceneWithOptions();
    } catch (const std::exception& error) {
        GTEST_SKIP() << "the glTF reader refuses this model: " << error.what();
    }
    const auto read = writtenAndRead(*made, "corpus_" + GetParam().name);
    keepPlayedClips(*made, buildSceneLayer(*made).clips.played);
    const auto original = movingNodes(*made);
    const auto back = movingNodes(*read);
    for (const double seconds : {0.5, 1.25}) {
        scene::applyAnimations(*made->rootNode(), seconds);
        scene::applyAnimations(*read->rootNode(), seconds);
        for (const auto& [name, node] : original) {
            const auto found = back.find(name);
            if (found == back.end())
                continue; // joints of a skeleton move in the file's SkelAnimation
            expectNear(found->second->worldTransform(), node->worldTransform(),
                       name + " at " + std::to_string(seconds) + " s");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(MovingCorpus, CorpusMotionRoundTrip,
                         ::testing::ValuesIn(movingCorpusModels()),
                         [](const auto& info) { return info.param.name; });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusMotionRoundTrip);

} // namespace
} // namespace usd::test
