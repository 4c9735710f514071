// Distant and sphere lights read into scene lights: on their parent's node or on a node of
// their own, spot cones from the shaping schema, and values that cannot be used.

#include "SceneReaderTestSupport.h"

#include <SceneGraph/Light.h>
#include <USD/layer/FieldNames.h>
#include <gmock/gmock.h>
#include <limits>
#include <numbers>

namespace usd::test {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

void addFloat(LayerBuilder& build, const Path& prim, const std::string& name, float value) {
    build.addAttribute(prim, name, {"float", value});
}

TEST(SceneReaderLights, ALightWithoutATransformOfItsOwnLightsItsParentsNode) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    const Path holder = build.definePrim(Path::fromString("/Holder"), "Xform");
    build.definePrim(Path::fromString("/Other"), "Xform");
    const Path sun = build.definePrim(holder.appendChild("Sun"), "DistantLight");
    build.addAttribute(sun, "inputs:color", {"color3f", Vec3f{1, 0.5f, 0.25f}});
    addFloat(build, sun, "inputs:intensity", 2);
    addFloat(build, sun, "inputs:exposure", 1);
    const ReadResult read = readLayer(layer);
    const auto node = findNode(*read.scene, "Holder");
    ASSERT_NE(node, nullptr);
    ASSERT_TRUE(node->light());
    EXPECT_TRUE(node->childNodes().empty());
    EXPECT_EQ(node->light()->type, scene::LightType::directional);
    EXPECT_EQ(node->light()->name, "Sun");
    EXPECT_EQ(node->light()->color, (scene::Color{1, 0.5, 0.25}));
    EXPECT_EQ(node->light()->intensity, 4) << "the exposure doubles it";
}

TEST(SceneReaderLights, ASpotWithATransformIsANodeOfItsOwn) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    build.definePrim(Path::fromString("/Other"), "Xform");
    const Path spot = build.definePrim(Path::fromString("/Spot"), "SphereLight");
    build.addAttribute(spot, "xformOp:translate", {"double3", Vec3d{1, 2, 3}});
    build.addAttribute(spot, "xformOpOrder",
                       {"token[]", Array<Token>{{"xformOp:translate"}}, Variability::Uniform});
    build.setMetadata(spot, field::kApiSchemas, TokenListOp::makePrepended({Token{"ShapingAPI"}}));
    build.addAttribute(spot, "treatAsPoint", {"bool", true});
    addFloat(build, spot, "inputs:shaping:cone:angle", 40);
    addFloat(build, spot, "inputs:shaping:cone:softness", 0.25);
    // Light inputs of old files lack the "inputs:" prefix.
    addFloat(build, spot, "intensity", 30);
    const ReadResult read = readLayer(layer);
    const auto node = findNode(*read.scene, "Spot");
    ASSERT_NE(node, nullptr);
    ASSERT_TRUE(node->light());
    EXPECT_EQ(node->position(), glm::dvec3(1, 2, 3));
    const scene::Light& light = *node->light();
    EXPECT_EQ(light.type, scene::LightType::spot);
    EXPECT_EQ(light.intensity, 30);
    EXPECT_NEAR(light.outerConeAngle, 40 * std::numbers::pi / 180, 1e-6);
    EXPECT_NEAR(light.innerConeAngle, 30 * std::numbers::pi / 180, 1e-6);
    EXPECT_TRUE(read.notes.empty());
}

TEST(SceneReaderLights, WhatAPointOrSpotLightCannotHoldIsReadAsNearAsItCan) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    const Path group = build.definePrim(Path::fromString("/Group"), "Xform");
    build.definePrim(Path::fromString("/Other"), "Xform");
    // A cone without the shaping schema, a size, and a number that is none.
    const Path sphere = build.definePrim(group.appendChild("Sphere"), "SphereLight");
    addFloat(build, sphere, "inputs:shaping:cone:angle", 20);
    addFloat(build, sphere, "inputs:intensity", std::numeric_limits<float>::quiet_NaN());
    const Path wide = build.definePrim(group.appendChild("Wide"), "SphereLight");
    build.setMetadata(wide, field::kApiSchemas, TokenListOp::makePrepended({Token{"ShapingAPI"}}));
    build.addAttribute(wide, "treatAsPoint", {"bool", true});
    addFloat(build, wide, "inputs:shaping:cone:angle", 120);
    build.definePrim(group.appendChild("Panel"), "RectLight");
    const ReadResult read = readLayer(layer);

    const auto groupNode = findNode(*read.scene, "Group");
    ASSERT_NE(groupNode, nullptr);
    ASSERT_TRUE(groupNode->light());
    EXPECT_EQ(groupNode->light()->type, scene::LightType::point);
    EXPECT_EQ(groupNode->light()->intensity, 1);
    // The group's node already has a light: the second gets a node of its own.
    const auto wideNode = findNode(*read.scene, "Wide");
    ASSERT_NE(wideNode, nullptr);
    ASSERT_TRUE(wideNode->light());
    EXPECT_EQ(wideNode->light()->type, scene::LightType::point);
    EXPECT_THAT(read.notes, Contains(HasSubstr("SphereLight prim /Group/Sphere is shown as a "
                                               "point light, without its size")));
    EXPECT_THAT(read.notes, Contains("The RectLight prim /Group/Panel cannot be shown; it is "
                                     "left out."));
}

} // namespace
} // namespace usd::test
