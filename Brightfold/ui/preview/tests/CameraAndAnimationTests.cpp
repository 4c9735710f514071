#include "Bounds.h"
#include "OrbitCamera.h"
#include "SceneAnimator.h"

#include <SceneGraph/Animation.h>
#include <SceneGraph/Node.h>
#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace brightfold::preview {
namespace {

Bounds box(glm::dvec3 low, glm::dvec3 high) {
    Bounds bounds;
    bounds.add(low);
    bounds.add(high);
    return bounds;
}

TEST(Bounds, TransformedCornersAndNonFinitePointsIgnored) {
    Bounds bounds;
    EXPECT_TRUE(bounds.isEmpty());
    bounds.add(glm::dvec3(NAN, 0, 0));
    EXPECT_TRUE(bounds.isEmpty());
    glm::dmat4 moveAndTurn = glm::translate(glm::dmat4(1.0), glm::dvec3(10, 0, 0));
    moveAndTurn = glm::rotate(moveAndTurn, glm::radians(90.0), glm::dvec3(0, 0, 1));
    bounds.addTransformed(box({0, 0, 0}, {2, 1, 1}), moveAndTurn);
    EXPECT_NEAR(bounds.min.x, 9.0, 1e-9);
    EXPECT_NEAR(bounds.max.x, 10.0, 1e-9);
    EXPECT_NEAR(bounds.max.y, 2.0, 1e-9);
}

TEST(OrbitCamera, FramesTheWholeModelWithClipPlanesAroundIt) {
    for (const Bounds& model :
         {box({-1, -1, -1}, {1, 1, 1}), box({100, 0, 0}, {100.01, 0.01, 0.01}),
          box({-500, -2, -3}, {500, 2, 3})}) {
        OrbitCamera camera;
        camera.frame(model);
        const double radius = model.radius();
        const double distance = glm::length(camera.position() - model.center());
        EXPECT_GE(distance * std::sin(glm::radians(OrbitCamera::fieldOfViewDegrees / 2)), radius);
        EXPECT_LT(distance, 4 * radius);
        EXPECT_GT(camera.clipNear(), 0.0);
        EXPECT_LT(camera.clipNear(), distance - radius);
        EXPECT_GT(camera.clipFar(), distance + radius);
        // The camera looks at the model.
        const glm::dvec3 forward = camera.rotation() * glm::dvec3(0, 0, -1);
        EXPECT_NEAR(glm::dot(forward, glm::normalize(model.center() - camera.position())), 1.0,
                    1e-9);
    }
}

TEST(OrbitCamera, FirstViewIsFromAboveAndToTheSide) {
    OrbitCamera camera;
    camera.frame(box({-1, -1, -1}, {1, 1, 1}));
    const glm::dvec3 offset = camera.position() - camera.target();
    EXPECT_GT(offset.z, 0.0) << "in front";
    EXPECT_GT(offset.x, 0.2 * camera.distance()) << "to the side, so two side faces show";
    EXPECT_GT(offset.y, 0.2 * camera.distance()) << "above, so the top face shows";
    EXPECT_LT(offset.y, 0.5 * camera.distance()) << "only slightly above";
}

TEST(OrbitCamera, EmptySceneFramesAUnitBox) {
    OrbitCamera camera;
    camera.frame(Bounds{});
    EXPECT_TRUE(std::isfinite(camera.distance()));
    EXPECT_GT(camera.distance(), 0.5);
}

TEST(OrbitCamera, OrbitKeepsDistanceAndStopsShortOfThePoles) {
    OrbitCamera camera;
    camera.frame(box({-1, -1, -1}, {1, 1, 1}));
    const double distance = camera.distance();
    camera.orbit(100, 0, 400);
    EXPECT_LT(camera.position().x, 0.0);
    camera.orbit(0, -100000, 400);
    EXPECT_NEAR(glm::length(camera.position() - camera.target()), distance, 1e-9);
    EXPECT_LT(std::fabs(camera.position().y), distance);
    EXPECT_GT(std::fabs(camera.position().y), distance * 0.99);
}

TEST(OrbitCamera, PanMovesInTheViewPlaneAndZoomIsBounded) {
    OrbitCamera camera;
    camera.frame(box({-1, -1, -1}, {1, 1, 1}));
    camera.orbit(37, 12, 400);
    const glm::dvec3 forward = camera.rotation() * glm::dvec3(0, 0, -1);
    const glm::dvec3 before = camera.target();
    camera.pan(50, -20, 400);
    EXPECT_GT(glm::length(camera.target() - before), 0.0);
    EXPECT_NEAR(glm::dot(camera.target() - before, forward), 0.0, 1e-9);

    const double framed = camera.distance();
    camera.zoom(2.0);
    EXPECT_NEAR(camera.distance(), framed / 2, 1e-9);
    camera.zoom(1e9);
    EXPECT_NEAR(camera.distance(), framed / 50, 1e-9);
    EXPECT_GT(camera.clipNear(), 0.0);
    camera.zoom(0.0);
    camera.zoom(NAN);
    EXPECT_NEAR(camera.distance(), framed / 50, 1e-9);
}

std::shared_ptr<scene::KeyframeAnimation> slide(std::string keyPath, double duration,
                                                double repeatCount) {
    auto animation = scene::KeyframeAnimation::create(std::move(keyPath));
    animation->values = {glm::dvec3(0, 0, 0), glm::dvec3(10, 0, 0)};
    animation->duration = duration;
    animation->repeatCount = repeatCount;
    return animation;
}

TEST(SceneAnimator, AppliesLoopingAnimationsAnywhereInTheHierarchy) {
    auto root = scene::Node::create("root");
    auto child = scene::Node::create("child");
    root->addChildNode(child);
    child->addAnimation(slide("position", 2.0, scene::repeatForever));
    root->addAnimation(slide("/child.scale", 1.0, 1.0));
    SceneAnimator animator(root);
    QStringList problems;
    animator.apply(5.0, problems);
    EXPECT_NEAR(child->position().x, 5.0, 1e-9);
    // Played once, then started over: 2.25 s is a quarter into its third round.
    animator.apply(2.25, problems);
    EXPECT_NEAR(child->scale().x, 2.5, 1e-9);
    EXPECT_TRUE(problems.isEmpty());
}

TEST(SceneAnimator, AnAnimationThatCannotApplyStopsAloneAndIsReported) {
    auto root = scene::Node::create("root");
    root->addAnimation(slide("/missing.position", 1.0, scene::repeatForever));
    root->addAnimation(slide("position", 1.0, scene::repeatForever));
    SceneAnimator animator(root);
    QStringList problems;
    animator.apply(0.5, problems);
    animator.apply(0.75, problems);
    EXPECT_NEAR(root->position().x, 7.5, 1e-9);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_THAT(problems[0].toStdString(), ::testing::HasSubstr("An animation was stopped"));
}

} // namespace
} // namespace brightfold::preview
