// Lights as UsdLux prims below their node's prim in packages for USD tools: the type each
// becomes, its numbers, the spot cone through the shaping schema, and what the package cannot
// say; and lights left out of packages for AR Quick Look.

#include "SceneBuilding.h"

#include <SceneGraph/Light.h>
#include <USD/layer/FieldNames.h>
#include <gmock/gmock.h>

namespace usd::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

std::vector<Token> appliedSchemas(const Layer& layer, const std::string& prim) {
    const Value* value = metadataOf(layer, prim, std::string(field::kApiSchemas));
    const auto* schemas = value ? value->get<TokenListOp>() : nullptr;
    return schemas ? schemas->prependedItems : std::vector<Token>{};
}

TEST(SceneWriterLights, EachLightIsAUsdLuxPrimBelowItsNode) {
    const auto scene = litScene();
    const SceneLayer built = buildSceneLayer(*scene, "Root", {}, usdToolsOptions());
    const Layer& layer = built.layer;

    EXPECT_EQ(typeOf(layer, "/Root/Rig/Sun"), "Xform");
    ASSERT_EQ(typeOf(layer, "/Root/Rig/Sun/SunLight"), "DistantLight");
    EXPECT_EQ(valueAt<Vec3f>(layer, "/Root/Rig/Sun/SunLight.inputs:color"),
              (Vec3f{1, 0.5f, 0.25f}));
    EXPECT_EQ(valueAt<float>(layer, "/Root/Rig/Sun/SunLight.inputs:intensity"), 3);
    EXPECT_EQ(valueAt<float>(layer, "/Root/Rig/Sun/SunLight.inputs:angle"), 0);
    EXPECT_FALSE(hasSpec(layer, "/Root/Rig/Sun/SunLight.treatAsPoint"));

    ASSERT_EQ(typeOf(layer, "/Root/Rig/Bulb/BulbLight"), "SphereLight");
    EXPECT_TRUE(valueAt<bool>(layer, "/Root/Rig/Bulb/BulbLight.treatAsPoint"));
    EXPECT_EQ(valueAt<float>(layer, "/Root/Rig/Bulb/BulbLight.inputs:intensity"), 250);
    EXPECT_EQ(valueAt<Vec3f>(layer, "/Root/Rig/Bulb/BulbLight.inputs:color"), (Vec3f{1, 1, 1}));
    EXPECT_TRUE(appliedSchemas(layer, "/Root/Rig/Bulb/BulbLight").empty());

    // The spot is also a quad: its geometry moves to a prim of its own beside the light.
    EXPECT_EQ(typeOf(layer, "/Root/Rig/Lamp"), "Xform");
    const std::string spot = "/Root/Rig/Lamp/LampLight";
    ASSERT_EQ(typeOf(layer, spot), "SphereLight");
    EXPECT_THAT(appliedSchemas(layer, spot), ElementsAre(Token{"ShapingAPI"}));
    EXPECT_FLOAT_EQ(valueAt<float>(layer, spot + ".inputs:shaping:cone:angle"), 30);
    EXPECT_FLOAT_EQ(valueAt<float>(layer, spot + ".inputs:shaping:cone:softness"), 0.5);
    EXPECT_TRUE(valueAt<bool>(layer, spot + ".treatAsPoint"));

    EXPECT_THAT(built.notes, Contains(HasSubstr("Light \"BulbLight\": its range was left out")));
    EXPECT_THAT(built.notes, Not(Contains(HasSubstr("SunLight"))));
    const auto checked = checkWrittenLayer(*scene, layer, &built.files);
    EXPECT_THAT(checked, Contains(HasSubstr("/Root/Rig/Sun/SunLight: AR Quick Look does not "
                                            "accept prims of type DistantLight")));
}

TEST(SceneWriterLights, ARPackagesLeaveEveryLightOutNamingIt) {
    const auto scene = litScene();
    const SceneLayer built = buildSceneLayer(*scene);
    for (const char* node : {"Sun", "Bulb", "Lamp"}) {
        EXPECT_EQ(typeOf(built.layer, std::string("/Root/Rig/") + node), "Xform");
        EXPECT_THAT(built.notes,
                    Contains(HasSubstr(std::string("Light \"") + node + "Light\" of Node \"" +
                                       node + "\" (/Root/Rig/" + node + ") was left out")));
    }
    EXPECT_FALSE(hasSpec(built.layer, "/Root/Rig/Sun/SunLight"));
    EXPECT_TRUE(checkWrittenLayer(*scene, built.layer, &built.files).empty());
}

TEST(SceneWriterLights, ALightNamedLikeAChildNodeGetsANameOfItsOwn) {
    auto scene = scene::Scene::create();
    auto node = scene::Node::create("Holder");
    auto light = scene::Light::create();
    light->name = "Child";
    node->setLight(light);
    node->addChildNode(scene::Node::create("Child"));
    scene->rootNode()->addChildNode(node);
    const Layer layer = buildSceneLayer(*scene, "Root", {}, usdToolsOptions()).layer;
    EXPECT_EQ(typeOf(layer, "/Root/Holder/Child"), "Xform");
    EXPECT_EQ(typeOf(layer, "/Root/Holder/Child_1"), "SphereLight");
    const Value* kept = metadataOf(layer, "/Root/Holder/Child_1", "customData");
    ASSERT_NE(kept, nullptr);
    const Value* originalName = kept->get<Dictionary>()->find("originalName");
    ASSERT_NE(originalName, nullptr);
    EXPECT_EQ(*originalName->get<std::string>(), "Child");
}

} // namespace
} // namespace usd::test
