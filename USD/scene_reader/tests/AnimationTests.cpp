// Time-sampled transforms on the stage's one looping timeline.

#include "SceneReaderTestSupport.h"

#include <SceneGraph/Animation.h>
#include <SceneGraph/AnimationPlayback.h>
#include <glm/gtc/matrix_transform.hpp>
#include <gmock/gmock.h>

namespace usd::test {
namespace {

void setOrder(LayerBuilder& build, const Path& prim, std::vector<Token> ops) {
    build.addAttribute(prim, "xformOpOrder",
                       {"token[]", Array<Token>(std::move(ops)), Variability::Uniform});
}

Path animatedPrim(LayerBuilder& build, const std::string& name) {
    build.definePrim(Path::fromString("/Other"), "Xform");
    return build.definePrim(Path::fromString("/" + name), "Xform");
}

void sampleTranslate(LayerBuilder& build, const Path& prim, TimeSamples samples) {
    const Path attribute = build.addAttribute(prim, "xformOp:translate", {"double3"});
    build.setTimeSamples(attribute, std::move(samples));
    setOrder(build, prim, {{"xformOp:translate"}});
}

// The node after every animation of the scene has played for `seconds`.
std::shared_ptr<scene::Node> nodeAt(const scene::Scene& scene, const std::string& name,
                                    double seconds) {
    scene::applyAnimations(*scene.rootNode(), seconds);
    return findNode(scene, name);
}

void expectNear(const glm::dvec3& actual, const glm::dvec3& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-6);
    EXPECT_NEAR(actual.y, expected.y, 1e-6);
    EXPECT_NEAR(actual.z, expected.z, 1e-6);
}

TEST(XformAnimation, EverySamplePlaysOnTheAuthoredTimelineAndValuesHoldOutsideTheSamples) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    build.setLayerMetadata("timeCodesPerSecond", 30.0);
    build.setLayerMetadata("startTimeCode", 0.0);
    build.setLayerMetadata("endTimeCode", 90.0);
    const Path prim = animatedPrim(build, "Moving");
    sampleTranslate(
        build, prim,
        {{15, 30, 60}, {Value(Vec3d{0, 0, 0}), Value(Vec3d{3, 0, 0}), Value(Vec3d{3, 6, 0})}});
    const ReadResult read = readLayer(layer);
    const auto node = findNode(*read.scene, "Moving");
    ASSERT_NE(node, nullptr);
    ASSERT_EQ(node->animations().size(), 1u);
    const scene::Animation& group = *node->animations().front().animation;
    EXPECT_DOUBLE_EQ(group.duration, 3.0);
    EXPECT_EQ(group.repeatCount, scene::repeatForever);

    expectNear(nodeAt(*read.scene, "Moving", 0.0)->position(), {0, 0, 0});    // held before
    expectNear(nodeAt(*read.scene, "Moving", 0.75)->position(), {1.5, 0, 0}); // code 22.5
    expectNear(nodeAt(*read.scene, "Moving", 1.5)->position(), {3, 3, 0});    // code 45
    expectNear(nodeAt(*read.scene, "Moving", 2.5)->position(), {3, 6, 0});    // held after
    expectNear(nodeAt(*read.scene, "Moving", 3.75)->position(), {1.5, 0, 0}); // looped
}

TEST(XformAnimation, WithoutAuthoredRangeTheSamplesSpanTheTimelineAtTwentyFourCodesASecond) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    const Path prim = animatedPrim(build, "Moving");
    sampleTranslate(build, prim, {{24, 72}, {Value(Vec3d{0, 0, 0}), Value(Vec3d{0, 0, 4})}});
    const ReadResult read = readLayer(layer);
    const auto node = findNode(*read.scene, "Moving");
    ASSERT_EQ(node->animations().size(), 1u);
    EXPECT_DOUBLE_EQ(node->animations().front().animation->duration, 2.0);
    // The still scene shows the first frame.
    expectNear(node->position(), {0, 0, 0});
    expectNear(nodeAt(*read.scene, "Moving", 0.5)->position(), {0, 0, 1});
}

TEST(XformAnimation, EulerRotationsFollowTheAnglesNotTheShortestArc) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    const Path prim = animatedPrim(build, "Turning");
    const Path rotate = build.addAttribute(prim, "xformOp:rotateZ", {"float"});
    // Half a turn, then on to a full one: slerp between the end keys alone would not move.
    build.setTimeSamples(rotate, {{0, 10, 20}, {Value(0.0f), Value(180.0f), Value(360.0f)}});
    setOrder(build, prim, {{"xformOp:rotateZ"}});
    const ReadResult read = readLayer(layer);
    for (const double degrees : {45.0, 90.0, 135.0, 270.0}) {
        const double seconds = degrees / 360.0 * 20.0 / 24.0;
        const auto node = nodeAt(*read.scene, "Turning", seconds);
        const glm::dvec3 turned =
            glm::dvec3(glm::mat4_cast(node->orientation()) * glm::dvec4(1, 0, 0, 0));
        expectNear(turned, {std::cos(glm::radians(degrees)), std::sin(glm::radians(degrees)), 0});
    }
}

TEST(XformAnimation, OrientSamplesAndStillOpsComposeEveryKey) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    const Path prim = animatedPrim(build, "Swinging");
    build.addAttribute(prim, "xformOp:translate", {"double3", Vec3d{1, 2, 3}});
    const Path orient = build.addAttribute(prim, "xformOp:orient", {"quatf", Quatf{{0, 0, 0}, 1}});
    const float half = 0.70710677f;
    build.setTimeSamples(orient,
                         {{0, 24}, {Value(Quatf{{0, 0, 0}, 1}), Value(Quatf{{0, half, 0}, half})}});
    setOrder(build, prim, {{"xformOp:translate"}, {"xformOp:orient"}});
    const ReadResult read = readLayer(layer);
    const auto node = nodeAt(*read.scene, "Swinging", 0.5);
    expectNear(node->position(), {1, 2, 3});
    EXPECT_NEAR(glm::angle(node->orientation()), glm::radians(45.0), 1e-6);
    // Only the part that moves is animated.
    const auto& group =
        static_cast<const scene::AnimationGroup&>(*node->animations().front().animation);
    ASSERT_EQ(group.animations.size(), 1u);
    EXPECT_EQ(static_cast<const scene::KeyframeAnimation&>(*group.animations[0]).keyPath,
              "orientation");
}

TEST(XformAnimation, AnimatedPointsAreReportedAndShownStill) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    const Path mesh = defineQuad(build, "/Quad");
    build.setTimeSamples(mesh.appendProperty("points"),
                         {{0, 1},
                          {Value(Array<Vec3f>{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}),
                           Value(Array<Vec3f>{{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}})}});
    const ReadResult read = readLayer(layer);
    EXPECT_THAT(read.notes, ::testing::Contains(::testing::HasSubstr("are animated")));
    EXPECT_NE(findNode(*read.scene, "Quad")->geometry(), nullptr);
}

} // namespace
} // namespace usd::test
