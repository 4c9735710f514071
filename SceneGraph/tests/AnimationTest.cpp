#include "ValuePrinting.h"

#include <SceneGraph/AnimationPlayback.h>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/KeyPath.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Node.h>
#include <cmath>
#include <gtest/gtest.h>

namespace scene {
namespace {

std::shared_ptr<KeyframeAnimation> keyframes(std::string keyPath, std::vector<double> keyTimes,
                                             std::vector<Value> values, double duration) {
    auto animation = KeyframeAnimation::create(std::move(keyPath));
    animation->keyTimes = std::move(keyTimes);
    animation->values = std::move(values);
    animation->duration = duration;
    return animation;
}

double numberAt(const KeyframeAnimation& animation, double fraction) {
    return *animation.valueAtFraction(fraction).number();
}

TEST(KeyframeAnimation, InterpolatesBetweenKeysAndHoldsBeyondThem) {
    // Key times 0, 0.5, 1, 2 s over 2 s are the fractions 0, 0.25, 0.5, 1.
    const auto animation = keyframes("weight", {0.0, 0.25, 0.5, 1.0}, {0.0, 1.0, 3.0, 4.0}, 2.0);
    EXPECT_EQ(numberAt(*animation, -1.0), 0.0);
    EXPECT_EQ(numberAt(*animation, 0.125), 0.5);
    EXPECT_EQ(numberAt(*animation, 0.375), 2.0);
    EXPECT_EQ(numberAt(*animation, 0.75), 3.5);
    EXPECT_EQ(numberAt(*animation, 2.0), 4.0);

    animation->calculationMode = AnimationCalculationMode::discrete;
    EXPECT_EQ(numberAt(*animation, 0.375), 1.0);
    EXPECT_TRUE(KeyframeAnimation::create("x")->valueAtFraction(0.5).isNull());
}

TEST(KeyframeAnimation, UnusableKeyTimesSpreadValuesEvenly) {
    for (const std::vector<double>& keyTimes :
         {std::vector<double>{}, {0.0, 1.0}, {0.0, 0.9, 0.1}, {0.0, NAN, 1.0}}) {
        const auto animation = keyframes("weight", keyTimes, {0.0, 10.0, 20.0}, 1.0);
        EXPECT_EQ(numberAt(*animation, 0.25), 5.0);
        EXPECT_EQ(numberAt(*animation, 0.75), 15.0);
    }
}

TEST(KeyframeAnimation, OrientationsInterpolateAlongTheShorterArc) {
    const double half = std::sqrt(0.5);
    const glm::dvec4 identity(0, 0, 0, 1);
    const glm::dvec4 quarterTurn(0, half, 0, half);
    const glm::dvec4 eighthTurn(0, std::sin(M_PI / 8), 0, std::cos(M_PI / 8));

    const auto rotation = keyframes("orientation", {0, 1}, {identity, quarterTurn}, 1.0);
    const auto middle = *rotation->valueAtFraction(0.5).as<glm::dvec4>();
    EXPECT_NEAR(glm::distance(middle, eighthTurn), 0.0, 1e-12);

    // The same rotation written with the opposite sign must not spin the long way round.
    rotation->values = {identity, -quarterTurn};
    const auto shorter = *rotation->valueAtFraction(0.5).as<glm::dvec4>();
    EXPECT_NEAR(std::abs(glm::dot(shorter, eighthTurn)), 1.0, 1e-12);

    rotation->values = {quaternionFromXYZW(identity), quaternionFromXYZW(quarterTurn)};
    const auto quaternion = *rotation->valueAtFraction(0.5).as<Quaternion>();
    EXPECT_NEAR(glm::distance(xyzwOf(quaternion), eighthTurn), 0.0, 1e-12);

    const auto plain = keyframes("colorFactor", {0, 1}, {identity, quarterTurn}, 1.0);
    EXPECT_EQ(*plain->valueAtFraction(0.5).as<glm::dvec4>(), (identity + quarterTurn) / 2.0);
}

TEST(KeyframeAnimation, CubicSplinesFollowTheCurveOfTheirTangents) {
    // Flat tangents ease in and out: a quarter of the way in is 3s² − 2s³ of the change.
    const auto spline = keyframes("weight", {0, 1}, {0.0, 1.0}, 2.0);
    spline->inTangents = {0.0, 0.0};
    spline->outTangents = {0.0, 0.0};
    EXPECT_DOUBLE_EQ(numberAt(*spline, 0.25), 0.15625);
    EXPECT_DOUBLE_EQ(numberAt(*spline, 0.5), 0.5);
    // Tangents are per second: 1 per second over the 2 s between the keys is a slope of 2.
    spline->values = {0.0, 0.0};
    spline->outTangents = {1.0, 0.0};
    EXPECT_DOUBLE_EQ(numberAt(*spline, 0.5), 0.25);

    const double half = std::sqrt(0.5);
    const auto rotation = keyframes("orientation", {0, 1},
                                    {glm::dvec4(0, 0, 0, 1), glm::dvec4(0, half, 0, half)}, 1.0);
    rotation->inTangents = {glm::dvec4(0.0), glm::dvec4(0.0)};
    rotation->outTangents = {glm::dvec4(0.0), glm::dvec4(0.0)};
    const auto quarterWay = *rotation->valueAtFraction(0.25).as<glm::dvec4>();
    EXPECT_NEAR(glm::length(quarterWay), 1.0, 1e-12) << "rotations stay unit quaternions";
    EXPECT_LT(quarterWay.y, std::sin(M_PI / 16)) << "slower than the even turn at first";
}

TEST(AnimationTiming, RepeatCountsLoopOrHold) {
    EXPECT_EQ(playedFraction(2.0, 0.0, 1.0), 0.5);
    EXPECT_EQ(playedFraction(2.0, 0.0, 3.0), 1.0) << "plays once, then holds the end";
    EXPECT_EQ(playedFraction(2.0, repeatForever, 5.0), 0.5);
    EXPECT_EQ(playedFraction(2.0, 1.5, 10.0), 0.5) << "half a last pass";
    EXPECT_EQ(playedFraction(2.0, 2.0, 10.0), 1.0);
    EXPECT_EQ(playedFraction(2.0, repeatForever, -1.0), 0.0);
    EXPECT_EQ(playedFraction(0.0, repeatForever, 1.0), 1.0);
    EXPECT_EQ(playedFraction(NAN, 1.0, 1.0), 1.0);
    EXPECT_EQ(playedFraction(2.0, repeatForever, NAN), 0.0);
}

/// A group as the loader builds it for a node channel: one key-frame animation of its own
/// duration inside a group lasting the scene's longest animation, looping forever.
std::shared_ptr<AnimationGroup> channelGroup(std::shared_ptr<Animation> member,
                                             double groupDuration) {
    auto group = AnimationGroup::create();
    group->animations = {std::move(member)};
    group->duration = groupDuration;
    group->repeatCount = repeatForever;
    return group;
}

TEST(AnimationGroup, MembersPlayOnceAndHoldUntilTheGroupRepeats) {
    auto translation = keyframes("position", {0, 1}, {glm::dvec3(0.0), glm::dvec3(2, 0, 0)}, 2.0);
    translation->repeatCount = repeatForever;
    const auto group = channelGroup(translation, 5.0);

    const auto xAt = [&](double seconds) {
        const auto values = evaluateAnimation(*group, seconds);
        EXPECT_EQ(values.size(), 1u);
        return values.at(0).value.as<glm::dvec3>()->x;
    };
    EXPECT_DOUBLE_EQ(xAt(1.0), 1.0);
    EXPECT_DOUBLE_EQ(xAt(3.0), 2.0) << "holds between 2 s and 5 s";
    EXPECT_NEAR(xAt(6.0), 1.0, 1e-12) << "the group starts again at 5 s";
}

TEST(AnimationGroup, MembersWithoutDurationTakeTheGroups) {
    auto weight = keyframes("weight", {0, 1}, {0.0, 1.0}, 0.0);
    const auto group = channelGroup(weight, 4.0);
    EXPECT_EQ(evaluateAnimation(*group, 1.0).at(0).value, Value(0.25));
}

TEST(AnimationGroup, CopiesAreDeep) {
    auto member = keyframes("", {0, 1}, {0.0, 1.0}, 1.0);
    const auto group = channelGroup(member, 1.0);
    const auto copy = std::dynamic_pointer_cast<AnimationGroup>(group->copy());
    ASSERT_NE(copy, nullptr);
    std::dynamic_pointer_cast<KeyframeAnimation>(copy->animations[0])->keyPath = "scale";
    EXPECT_EQ(member->keyPath, "");
    EXPECT_EQ(copy->duration, 1.0);
    EXPECT_EQ(copy->repeatCount, repeatForever);
}

TEST(AnimationPlayback, AppliesEveryRegisteredAnimationThroughKeyPaths) {
    auto root = Node::create("root");
    auto node = Node::create("node");
    root->addChildNode(node);
    auto mesh = Node::create("mesh");
    node->addChildNode(mesh);
    auto primitive = Node::create();
    auto morpher = Morpher::create();
    morpher->setTargets({Geometry::create({}), Geometry::create({})});
    primitive->setMorpher(morpher);
    mesh->addChildNode(primitive);

    // Registered twice, as the loader does: under its channel key and without a key.
    const auto moves = channelGroup(
        keyframes("position", {0, 1}, {glm::dvec3(0.0), glm::dvec3(0, 4, 0)}, 1.0), 2.0);
    node->addAnimation(moves, "translation");
    node->addAnimation(moves);

    auto weights = AnimationGroup::create();
    weights->duration = 1.0;
    weights->repeatCount = repeatForever;
    weights->animations = {
        keyframes("childNodes[0].childNodes[0].morpher.weights[0]", {0, 1}, {1.0, 0.0}, 1.0),
        keyframes("childNodes[0].childNodes[0].morpher.weights[1]", {0, 1}, {0.0, 1.0}, 1.0)};
    node->addAnimation(weights, "weights");

    applyAnimations(*root, 2.25);

    EXPECT_EQ(node->position(), glm::dvec3(0, 1, 0));
    EXPECT_EQ(morpher->weights(), (std::vector<double>{0.75, 0.25}));
}

TEST(AnimationPlayback, UnresolvedKeyPathsAreReported) {
    auto node = Node::create();
    const auto animation = keyframes("childNodes[3].position", {0}, {glm::dvec3(1.0)}, 1.0);
    EXPECT_THROW(applyAnimation(*animation, *node, 0.5), KeyPathError);
}

TEST(AnimationClip, ClipsAreListedOnceByIndexAndTravelWithCopies) {
    auto root = Node::create();
    auto child = Node::create("child");
    root->addChildNode(child);
    const auto clipped = [](std::size_t index, std::string name) {
        auto animation = keyframes("position", {0, 1}, {glm::dvec3(0.0), glm::dvec3(1.0)}, 1.0);
        animation->clip = AnimationClip{index, std::move(name)};
        return animation;
    };
    child->addAnimation(clipped(3, "Run"));
    child->addAnimation(clipped(0, ""));
    root->addAnimation(clipped(3, "Run"));
    root->addAnimation(keyframes("scale", {0}, {glm::dvec3(1.0)}, 1.0));

    const std::vector<AnimationClip> clips = animationClipsOf(*root);
    EXPECT_EQ(clips, (std::vector<AnimationClip>{{0, ""}, {3, "Run"}}));
    EXPECT_EQ(clipLabel(clips[0]), "animation 0");
    EXPECT_EQ(clipLabel(clips[1]), "\"Run\"");
    EXPECT_EQ(animationClipsOf(*root->clone()), clips);
}

} // namespace
} // namespace scene
