#include "support/GLTFTestDocument.h"
#include "support/TestUnarchiver.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using gltf::testing::CapturedConsoleLines;
using gltf::testing::failureOf;
using gltf::testing::numbersOf;
using gltf::testing::TestBytes;
using gltf::testing::unarchiverOf;
using testing::ElementsAre;

namespace {

// Key times (0, 1, 2) with max 2 and (0, 5) with max 5; three translations; six weights for
// two targets at three keys, and five; two rotations; nine cubic-spline weights for one target
// at three keys (in-tangent, value, out-tangent).
TestBytes animationBytes() {
    TestBytes bytes;
    bytes.floats({0, 1, 2, 0, 5});
    bytes.floats({1, 0, 0, 2, 0, 0, 3, 0, 0});
    bytes.floats({1, 0, 0.5f, 0.5f, 0, 1});
    bytes.floats({0, 0.7071068f, 0, 0.7071068f, 0, 0, 0, 1});
    bytes.floats({9, 0.25f, 9, 9, 0.5f, 9, 9, 0.75f, 9});
    return bytes;
}

constexpr const char* animationAccessors = R"(
    "bufferViews": [{"buffer": 0, "byteLength": 20}, {"buffer": 0, "byteOffset": 20,
                     "byteLength": 36}, {"buffer": 0, "byteOffset": 56, "byteLength": 24},
                    {"buffer": 0, "byteOffset": 80, "byteLength": 32},
                    {"buffer": 0, "byteOffset": 112, "byteLength": 36}],
    "accessors": [
        {"bufferView": 0, "componentType": 5126, "count": 3, "type": "SCALAR", "max": [2]},
        {"bufferView": 0, "byteOffset": 12, "componentType": 5126, "count": 2, "type": "SCALAR",
         "max": [5]},
        {"bufferView": 1, "componentType": 5126, "count": 3, "type": "VEC3"},
        {"bufferView": 2, "componentType": 5126, "count": 6, "type": "SCALAR"},
        {"bufferView": 2, "componentType": 5126, "count": 5, "type": "SCALAR", "max": [1, 2]},
        {"bufferView": 3, "componentType": 5126, "count": 2, "type": "VEC4"},
        {"bufferView": 4, "componentType": 5126, "count": 9, "type": "SCALAR"},
        {"bufferView": 1, "componentType": 5126, "count": 3, "type": "VEC3"}],
    "meshes": [{"primitives": [{"attributes": {"POSITION": 7},
                                "targets": [{"POSITION": 7}, {"POSITION": 7}]}]},
               {"primitives": [{"attributes": {"POSITION": 7},
                                "targets": [{"POSITION": 7}, {"POSITION": 7}]},
                               {"attributes": {"POSITION": 7},
                                "targets": [{"POSITION": 7}, {"POSITION": 7}]}]},
               {"primitives": [{"attributes": {"POSITION": 7}}]},
               {"primitives": [{"attributes": {"POSITION": 7},
                                "targets": [{"POSITION": 7}]}]}])";

// Accessors: 0 and 1 key times, 2 translations, 3 and 4 weights, 5 rotations, 6 cubic-spline
// weights, 7 positions; only the key times and accessor 4 have a "max". Meshes: 0 two targets, 1
// two primitives with two targets, 2 none, 3 one target. Nodes: 0 mesh 0, 1 and 2 plain, 3 mesh 1,
// 4 mesh 2, 5 mesh 3.
GLTFUnarchiver animatedUnarchiver(const std::string& animations,
                                  const std::string& sceneNodes = "[0, 1, 2, 3, 4, 5]") {
    return unarchiverOf(animationBytes(), std::string(animationAccessors) + R"(,
        "nodes": [{"mesh": 0}, {"name": "one"}, {"name": "two"}, {"mesh": 1}, {"mesh": 2},
                  {"mesh": 3}],
        "scenes": [{"nodes": )" + sceneNodes + R"(}],
        "animations": )" + animations);
}

std::shared_ptr<scene::KeyframeAnimation> keyframesOf(const scene::Animation& group,
                                                      std::size_t position = 0) {
    return std::dynamic_pointer_cast<scene::KeyframeAnimation>(
        dynamic_cast<const scene::AnimationGroup&>(group).animations.at(position));
}

std::shared_ptr<scene::Scene> loadSceneQuietly(GLTFUnarchiver& unarchiver) {
    const CapturedConsoleLines console;
    return unarchiver.loadScene(0);
}

// The scene load's failure, without its key-time lines.
std::string sceneFailure(GLTFUnarchiver& unarchiver) {
    return failureOf([&] { loadSceneQuietly(unarchiver); });
}

} // namespace

TEST(Animations, ANodeLoadedBeforeAnySceneLoopsOverItsAnimationsLength) {
    GLTFUnarchiver unarchiver = animatedUnarchiver(R"([{
        "samplers": [{"input": 0, "output": 2}, {"input": 1, "output": 5}],
        "channels": [{"sampler": 0, "target": {"node": 1, "path": "translation"}},
                     {"sampler": 1, "target": {"node": 1, "path": "rotation"}}]}])");
    const CapturedConsoleLines console;
    const auto one = unarchiver.loadNode(1);
    EXPECT_EQ(one->animationForKey("translation")->duration, 5);
    EXPECT_EQ(unarchiver.getMaxAnimationDuration(), 5);
}

TEST(Animations, NodePropertyGroupsLoopInStepWithTheLongestAnimation) {
    GLTFUnarchiver unarchiver = animatedUnarchiver(R"([{
        "samplers": [{"input": 0, "output": 2}, {"input": 1, "output": 5}],
        "channels": [{"sampler": 0, "target": {"node": 1, "path": "translation"}},
                     {"sampler": 1, "target": {"node": 1, "path": "rotation"}},
                     {"sampler": 0, "target": {"node": 2, "path": "scale"}}]}])");
    loadSceneQuietly(unarchiver);
    EXPECT_EQ(unarchiver.getMaxAnimationDuration(), 5);

    // One registration per channel, under the channel's path.
    const auto one = unarchiver.loadNode(1);
    ASSERT_EQ(one->animations().size(), 2u);
    const auto translation = one->animationForKey("translation");
    EXPECT_EQ(one->animations()[0].animation, translation);
    EXPECT_EQ(one->animations()[1].key, "rotation");
    EXPECT_EQ(translation->duration, 5);
    EXPECT_EQ(translation->repeatCount, scene::repeatForever);
    const auto keyframes = keyframesOf(*translation);
    EXPECT_EQ(keyframes->keyPath, "position");
    EXPECT_THAT(keyframes->keyTimes, ElementsAre(0, 0.5, 1));
    EXPECT_EQ(keyframes->duration, 2);
    EXPECT_EQ(keyframes->calculationMode, scene::AnimationCalculationMode::linear);
    EXPECT_THAT(keyframes->values,
                ElementsAre(scene::Value(glm::dvec3(1, 0, 0)), scene::Value(glm::dvec3(2, 0, 0)),
                            scene::Value(glm::dvec3(3, 0, 0))));

    const auto rotation = keyframesOf(*one->animationForKey("rotation"));
    EXPECT_EQ(rotation->keyPath, "orientation");
    EXPECT_EQ(rotation->values.at(0), scene::Value(glm::dvec4(0, 0.7071068f, 0, 0.7071068f)));

    // A shared sampler gives each channel a group of its own.
    const auto scale = unarchiver.loadNode(2)->animationForKey("scale");
    EXPECT_NE(scale, translation);
    EXPECT_EQ(keyframesOf(*scale)->keyPath, "scale");
    EXPECT_EQ(keyframes->keyPath, "position");
}

TEST(Animations, EachChannelIsRegisteredOnceAndLaterAnimationsOfAPathKeepTheirOwn) {
    GLTFUnarchiver unarchiver = animatedUnarchiver(R"([
        {"samplers": [{"input": 0, "output": 2}],
         "channels": [{"sampler": 0, "target": {"node": 1, "path": "translation"}}]},
        {"name": "wave", "samplers": [{"input": 1, "output": 5}, {"input": 0, "output": 2},
                                      {"input": 0, "output": 3}],
         "channels": [{"sampler": 1, "target": {"node": 1, "path": "translation"}},
                      {"sampler": 2, "target": {"node": 0, "path": "weights"}}]}])");
    loadSceneQuietly(unarchiver);
    const auto& animations = unarchiver.loadNode(1)->animations();
    ASSERT_EQ(animations.size(), 2u);
    EXPECT_EQ(animations[0].key, "translation");
    EXPECT_NE(animations[1].key, "translation");
    EXPECT_NE(animations[0].animation, animations[1].animation);

    // Each animation is a clip of its own and loops over its own longest sampler.
    EXPECT_EQ(animations[0].animation->clip, (scene::AnimationClip{0, ""}));
    EXPECT_EQ(animations[0].animation->duration, 2);
    EXPECT_EQ(animations[1].animation->clip, (scene::AnimationClip{1, "wave"}));
    EXPECT_EQ(animations[1].animation->duration, 5);
    const auto weights = unarchiver.loadNode(0)->animationForKey("weights");
    EXPECT_EQ(weights->clip, (scene::AnimationClip{1, "wave"}));
}

TEST(Animations, WeightCountsThatDoNotDivideAmongTheTargetsNameTheirAnimation) {
    GLTFUnarchiver unarchiver = animatedUnarchiver(R"([{"name": "blink",
        "samplers": [{"input": 0, "output": 4}],
        "channels": [{"sampler": 0, "target": {"node": 0, "path": "weights"}}]}])");
    EXPECT_EQ(sceneFailure(unarchiver),
              "DataInconsistent: loadWeightAnimationsSampler: animation \"blink\" has 5 weights, "
              "which do not divide among 2 morph targets");
}

TEST(Animations, WeightGroupsShareEachKeyAmongTheMorphTargets) {
    GLTFUnarchiver unarchiver = animatedUnarchiver(R"([{
        "samplers": [{"input": 0, "output": 3}],
        "channels": [{"sampler": 0, "target": {"node": 0, "path": "weights"}},
                     {"sampler": 0, "target": {"node": 3, "path": "weights"}}]}])");
    loadSceneQuietly(unarchiver);
    const auto group = unarchiver.loadNode(0)->animationForKey("weights");
    EXPECT_EQ(group->duration, 2);
    const auto first = keyframesOf(*group, 0);
    EXPECT_EQ(first->keyPath, "childNodes[0].childNodes[0].morpher.weights[0]");
    EXPECT_THAT(numbersOf(first->values), ElementsAre(1, 0.5, 0));
    EXPECT_THAT(numbersOf(keyframesOf(*group, 1)->values), ElementsAre(0, 0.5, 1));

    // Every primitive of a mesh shares the mesh's targets and so their weights.
    const auto shared = unarchiver.loadNode(3)->animationForKey("weights");
    ASSERT_EQ(dynamic_cast<const scene::AnimationGroup&>(*shared).animations.size(), 4u);
    const auto secondPrimitive = keyframesOf(*shared, 3);
    EXPECT_EQ(secondPrimitive->keyPath, "childNodes[0].childNodes[1].morpher.weights[1]");
    EXPECT_THAT(numbersOf(secondPrimitive->values), ElementsAre(0, 0.5, 1));
}

TEST(Animations, StepsHoldAndCubicSplinesPlayThroughTheirKeyValuesAlongTheirTangents) {
    GLTFUnarchiver unarchiver = animatedUnarchiver(R"([{
        "samplers": [{"input": 0, "output": 2, "interpolation": "STEP"},
                     {"input": 0, "output": 6, "interpolation": "CUBICSPLINE"}],
        "channels": [{"sampler": 0, "target": {"node": 1, "path": "translation"}},
                     {"sampler": 1, "target": {"node": 5, "path": "weights"}}]}])");
    loadSceneQuietly(unarchiver);
    EXPECT_EQ(keyframesOf(*unarchiver.loadNode(1)->animationForKey("translation"))->calculationMode,
              scene::AnimationCalculationMode::discrete);
    const auto spline = keyframesOf(*unarchiver.loadNode(5)->animationForKey("weights"));
    EXPECT_THAT(numbersOf(spline->values), ElementsAre(0.25, 0.5, 0.75));
    EXPECT_EQ(spline->calculationMode, scene::AnimationCalculationMode::linear);
    // The tangents are kept beside the values, so the curve between keys is not lost.
    EXPECT_THAT(numbersOf(spline->inTangents), ElementsAre(9, 9, 9));
    EXPECT_THAT(numbersOf(spline->outTangents), ElementsAre(9, 9, 9));
}

TEST(Animations, ChannelsOutsideTheLoadedSceneAreNeverBuilt) {
    GLTFUnarchiver unarchiver = animatedUnarchiver(R"([{
        "samplers": [{"input": 0, "output": 2}],
        "channels": [{"sampler": 7, "target": {"node": 2, "path": "translation"}}]}])",
                                                   "[1]");
    EXPECT_EQ(sceneFailure(unarchiver), "");
    EXPECT_TRUE(unarchiver.loadNode(1)->animations().empty());
}

TEST(Animations, RefuseChannelsTheyCannotPlay) {
    const std::pair<std::string, std::string> cases[] = {
        {R"({"input": 0, "output": 2}], "channels": [{"sampler": 0, "target": {"node": 1,
             "path": "Translation"}}])",
         "NotSupported: loadAnimation: animation key Translation is not supported"},
        {R"({"input": 0, "output": 3}], "channels": [{"sampler": 0, "target": {"node": 1,
             "path": "weights"}}])",
         "DataInconsistent: loadAnimation: morpher is not defined)"},
        {R"({"input": 0, "output": 3}], "channels": [{"sampler": 0, "target": {"node": 4,
             "path": "weights"}}])",
         "DataInconsistent: loadAnimation: weights are animated on a mesh without morph targets"},
        {R"({"input": 0, "output": 4}], "channels": [{"sampler": 0, "target": {"node": 0,
             "path": "weights"}}])",
         "DataInconsistent: loadWeightAnimationsSampler: animation 0 has 5 weights, which do not "
         "divide among 2 morph targets"},
        {R"({"input": 0, "output": 5}], "channels": [{"sampler": 0, "target": {"node": 1,
             "path": "rotation"}}])",
         "DataInconsistent: loadAnimationSampler: data count mismatch: 2 != 3"},
        {R"({"input": 0, "output": 2, "interpolation": "SMOOTH"}], "channels": [{"sampler": 0,
             "target": {"node": 1, "path": "scale"}}])",
         "NotSupported: loadAnimationSampler: interpolation SMOOTH is not supported"},
        {R"({"input": 0, "output": 2}], "channels": [{"sampler": 3, "target": {"node": 1,
             "path": "scale"}}])",
         "DataInconsistent: loadAnimationSampler: out of index: sampler 3 < 1"},
        {R"({"input": 0, "output": 2}], "channels": [{"sampler": 0, "target": {"path": "scale"}}])",
         ""},
        {R"({"input": 4, "output": 2}], "channels": [])",
         "DataInconsistent: getMaxAnimationDuration: keyTime must be SCALAR type"},
        {R"({"input": 9, "output": 2}], "channels": [])",
         "DataInconsistent: getMaxAnimationDuration: out of index: accessor 9 < 8"},
    };
    for (const auto& [samplersAndChannels, failure] : cases) {
        GLTFUnarchiver unarchiver =
            animatedUnarchiver(R"([{"samplers": [)" + samplersAndChannels + "}]");
        EXPECT_EQ(sceneFailure(unarchiver), failure) << samplersAndChannels;
    }
}

TEST(Animations, KeyTimesWithoutTheirMaximumStillSetTheLoopLength) {
    // Some exporters leave out the "max" of a key-time accessor; the loop then comes from the
    // key times themselves rather than ending at once.
    TestBytes bytes;
    bytes.floats({0, 1.5f});
    bytes.floats({0, 0, 0, 1, 0, 0});
    GLTFUnarchiver unarchiver = unarchiverOf(bytes, R"(
        "bufferViews": [{"buffer": 0, "byteLength": 8},
                        {"buffer": 0, "byteOffset": 8, "byteLength": 24}],
        "accessors": [{"bufferView": 0, "componentType": 5126, "count": 2, "type": "SCALAR"},
                      {"bufferView": 1, "componentType": 5126, "count": 2, "type": "VEC3"}],
        "nodes": [{"name": "moving"}],
        "scenes": [{"nodes": [0]}],
        "animations": [{"samplers": [{"input": 0, "output": 1}],
                        "channels": [{"sampler": 0, "target": {"node": 0,
                                      "path": "translation"}}]}])");
    loadSceneQuietly(unarchiver);
    EXPECT_EQ(unarchiver.getMaxAnimationDuration(), 1.5);
    EXPECT_EQ(unarchiver.loadNode(0)->animationForKey("translation")->duration, 1.5);
}
