// Transform stacks, the stage frame and cameras.

#include "SceneReaderTestSupport.h"

#include <SceneGraph/Camera.h>
#include <glm/gtc/matrix_transform.hpp>
#include <gmock/gmock.h>

namespace usd::test {
namespace {

void setOrder(LayerBuilder& build, const Path& prim, std::vector<Token> ops) {
    build.addAttribute(prim, "xformOpOrder",
                       {"token[]", Array<Token>(std::move(ops)), Variability::Uniform});
}

void expectNear(const glm::dvec3& actual, const glm::dvec3& expected) {
    // Files store rotations in single precision.
    EXPECT_NEAR(actual.x, expected.x, 1e-6);
    EXPECT_NEAR(actual.y, expected.y, 1e-6);
    EXPECT_NEAR(actual.z, expected.z, 1e-6);
}

// A second root prim, so that no single root prim stands for the scene's root node.
void addSibling(LayerBuilder& build) {
    build.definePrim(Path::fromString("/Other"), "Xform");
}

TEST(TransformStack, TranslateOrientScaleStaysAsComponents) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    addSibling(build);
    const Path prim = build.definePrim(Path::fromString("/Moved"), "Xform");
    build.addAttribute(prim, "xformOp:translate", {"double3", Vec3d{1, 2, 3}});
    build.addAttribute(prim, "xformOp:orient", {"quatf", Quatf{{0, 0.70710677f, 0}, 0.70710677f}});
    build.addAttribute(prim, "xformOp:scale", {"float3", Vec3f{2, 2, 2}});
    setOrder(build, prim, {{"xformOp:translate"}, {"xformOp:orient"}, {"xformOp:scale"}});
    const auto node = findNode(*readLayer(layer).scene, "Moved");
    ASSERT_NE(node, nullptr);
    EXPECT_FALSE(node->hasMatrixTransform());
    expectNear(node->position(), {1, 2, 3});
    expectNear(node->scale(), {2, 2, 2});
    EXPECT_NEAR(node->orientation().y, 0.70710677, 1e-6);
    EXPECT_NEAR(node->orientation().w, 0.70710677, 1e-6);
}

TEST(TransformStack, EulerOrderPivotsAndInversesComposeLikeUsd) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    addSibling(build);
    const Path prim = build.definePrim(Path::fromString("/Pivoted"), "Xform");
    build.addAttribute(prim, "xformOp:translate:pivot", {"float3", Vec3f{1, 0, 0}});
    // X first (leaves the x axis alone), then Y: the x axis ends on -z.
    build.addAttribute(prim, "xformOp:rotateXYZ", {"float3", Vec3f{90, 90, 0}});
    build.addAttribute(prim, "xformOp:translate", {"double3", Vec3d{0, 0, 5}});
    setOrder(build, prim,
             {{"xformOp:translate"},
              {"xformOp:translate:pivot"},
              {"xformOp:rotateXYZ"},
              {"!invert!xformOp:translate:pivot"}});
    const auto node = findNode(*readLayer(layer).scene, "Pivoted");
    ASSERT_NE(node, nullptr);
    EXPECT_TRUE(node->hasMatrixTransform());
    const auto rotation = glm::rotate(glm::dmat4(1.0), glm::radians(90.0), glm::dvec3(0, 1, 0)) *
                          glm::rotate(glm::dmat4(1.0), glm::radians(90.0), glm::dvec3(1, 0, 0));
    // The pivot itself stays where it is; a point one unit beyond it turns about it.
    expectNear(scene::transformPoint(node->transform(), {1, 0, 0}), {1, 0, 5});
    const glm::dvec3 turned = glm::dvec3(rotation * glm::dvec4(1, 0, 0, 0));
    expectNear(scene::transformPoint(node->transform(), {2, 0, 0}), glm::dvec3(1, 0, 5) + turned);
    expectNear(turned, {0, 0, -1});
}

TEST(TransformStack, ResetXformStackIgnoresAncestorsAndUnlistedOpsAreIgnored) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    addSibling(build);
    const Path parent = build.definePrim(Path::fromString("/Parent"), "Xform");
    build.addAttribute(parent, "xformOp:translate", {"double3", Vec3d{10, 0, 0}});
    setOrder(build, parent, {{"xformOp:translate"}});
    const Path child = build.definePrim(parent.appendChild("Free"), "Xform");
    build.addAttribute(child, "xformOp:translate", {"double3", Vec3d{0, 1, 0}});
    build.addAttribute(child, "xformOp:scale", {"float3", Vec3f{9, 9, 9}}); // not in the order
    setOrder(build, child, {{"!resetXformStack!"}, {"xformOp:translate"}});
    const auto node = findNode(*readLayer(layer).scene, "Free");
    ASSERT_NE(node, nullptr);
    expectNear(node->worldPosition(), {0, 1, 0});
    expectNear(node->scale(), {1, 1, 1});
}

TEST(StageFrame, ZUpCentimetreStagesBecomeYUpMetres) {
    Layer layer;
    LayerBuilder build(layer);
    build.setLayerMetadata("upAxis", Token{"Z"});
    build.setLayerMetadata("metersPerUnit", 0.01);
    addSibling(build);
    const Path prim = build.definePrim(Path::fromString("/Up"), "Xform");
    build.addAttribute(prim, "xformOp:translate", {"double3", Vec3d{0, 0, 100}});
    setOrder(build, prim, {{"xformOp:translate"}});
    const auto scene = readLayer(layer).scene;
    expectNear(findNode(*scene, "Up")->worldPosition(), {0, 1, 0});

    // Unauthored units are centimetres; the frame sits on the root node.
    Layer bare;
    LayerBuilder(bare).definePrim(Path::fromString("/Only"), "Xform");
    const auto root = readLayer(bare).scene->rootNode();
    EXPECT_EQ(root->name(), "Only");
    expectNear(scene::transformPoint(root->transform(), {100, 0, 0}), {1, 0, 0});
}

TEST(Cameras, ApertureAndFocalLengthGiveTheFieldOfView) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    addSibling(build);
    const Path wide = build.definePrim(Path::fromString("/Wide"), "Camera");
    build.addAttribute(wide, "verticalAperture", {"float", 20.0f});
    build.addAttribute(wide, "focalLength", {"float", 10.0f});
    build.addAttribute(wide, "clippingRange", {"float2", Vec2f{0.1f, 50}});
    const Path ortho = build.definePrim(Path::fromString("/Ortho"), "Camera");
    build.addAttribute(ortho, "projection", {"token", Token{"orthographic"}});
    build.addAttribute(ortho, "verticalAperture", {"float", 40.0f});
    const auto scene = readLayer(layer).scene;
    const auto perspective = findNode(*scene, "Wide")->camera();
    ASSERT_NE(perspective, nullptr);
    EXPECT_NEAR(perspective->fieldOfView, 2 * glm::degrees(std::atan(1.0)), 1e-6);
    EXPECT_NEAR(perspective->zNear, 0.1, 1e-6);
    EXPECT_NEAR(perspective->zFar, 50, 1e-6);
    const auto orthographic = findNode(*scene, "Ortho")->camera();
    EXPECT_TRUE(orthographic->usesOrthographicProjection);
    EXPECT_NEAR(orthographic->orthographicScale, 2.0, 1e-6);
}

} // namespace
} // namespace usd::test
