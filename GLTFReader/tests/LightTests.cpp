// Punctual lights on nodes: what each type reads as, the glTF defaults, and light data that
// cannot describe a light.
#include "CorpusFiles.h"
#include "support/TestUnarchiver.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <SceneGraph/Light.h>
#include <gtest/gtest.h>
#include <numbers>

using brightfold::testing::corpus;
using brightfold::testing::corpusMissing;
using gltf::testing::failureOf;
using gltf::testing::unarchiverOf;

namespace {

// A document with `lights` as its light list and one node per entry of `nodeLights`, each
// holding that light index.
std::string documentWith(const std::string& lights, const std::vector<int>& nodeLights) {
    std::string nodes;
    for (const int light : nodeLights) {
        nodes += std::string(nodes.empty() ? "" : ", ") +
                 R"({"extensions": {"KHR_lights_punctual": {"light": )" + std::to_string(light) +
                 "}}}";
    }
    return R"("extensionsUsed": ["KHR_lights_punctual"], "extensionsRequired": ["KHR_lights_punctual"],
              "extensions": {"KHR_lights_punctual": {"lights": [)" +
           lights + R"(]}}, "nodes": [)" + nodes + "]";
}

std::shared_ptr<scene::Light> lightOfNode(const std::string& lights, int light = 0) {
    return unarchiverOf(documentWith(lights, {light})).loadNode(0)->light();
}

} // namespace

TEST(PunctualLights, EachTypeKeepsItsNumbersAndGltfDefaultsFillTheRest) {
    auto unarchiver = unarchiverOf(documentWith(R"(
        {"type": "directional", "name": "Sun", "color": [1, 0.5, 0.25], "intensity": 3},
        {"type": "point", "range": 12.5},
        {"type": "spot", "intensity": 40, "spot": {"innerConeAngle": 0.25, "outerConeAngle": 0.5}},
        {"type": "spot", "spot": {}})",
                                                {0, 1, 2, 3, 0}));
    const auto sun = unarchiver.loadNode(0)->light();
    ASSERT_TRUE(sun);
    EXPECT_EQ(sun->type, scene::LightType::directional);
    EXPECT_EQ(sun->name, "Sun");
    EXPECT_EQ(sun->color, (scene::Color{1, 0.5, 0.25}));
    EXPECT_EQ(sun->intensity, 3);
    EXPECT_FALSE(sun->range);

    const auto bulb = unarchiver.loadNode(1)->light();
    EXPECT_EQ(bulb->type, scene::LightType::point);
    EXPECT_EQ(bulb->color, scene::Color::white(1));
    EXPECT_EQ(bulb->intensity, 1);
    EXPECT_EQ(bulb->range, 12.5);

    const auto spot = unarchiver.loadNode(2)->light();
    EXPECT_EQ(spot->type, scene::LightType::spot);
    EXPECT_EQ(spot->intensity, 40);
    EXPECT_EQ(spot->innerConeAngle, 0.25);
    EXPECT_EQ(spot->outerConeAngle, 0.5);

    const auto plainSpot = unarchiver.loadNode(3)->light();
    EXPECT_EQ(plainSpot->innerConeAngle, 0);
    EXPECT_NEAR(plainSpot->outerConeAngle, std::numbers::pi / 4, 1e-7);

    EXPECT_EQ(unarchiver.loadNode(4)->light()->name, "Sun") << "two nodes may use one light";
}

TEST(PunctualLights, DocumentsWithoutLightsLeaveNodesWithoutOne) {
    auto unarchiver = unarchiverOf(R"("nodes": [{"name": "Plain"}, {"extensions": {
        "KHR_lights_punctual": {}}}])");
    EXPECT_FALSE(unarchiver.loadNode(0)->light());
    EXPECT_FALSE(unarchiver.loadNode(1)->light());
}

TEST(PunctualLights, ConeAnglesMayReachAQuarterTurnWrittenInFull) {
    const auto light = lightOfNode(
        R"({"type": "spot", "spot": {"innerConeAngle": 0, "outerConeAngle": 1.5707963267948966}})");
    EXPECT_NEAR(light->outerConeAngle, std::numbers::pi / 2, 1e-7);
}

TEST(PunctualLights, LightDataThatCannotDescribeALightIsRefused) {
    const std::string prefix = "DataInconsistent: loadLight: KHR_lights_punctual light 0 ";
    const std::pair<const char*, std::string> cases[] = {
        {R"({"type": "area"})",
         prefix + "has type \"area\", which is not directional, point or spot"},
        {R"({"type": "point", "intensity": -1})", prefix + "has a negative intensity: -1.000000"},
        {R"({"type": "point", "range": 0})", prefix + "has a range that is not positive: 0.000000"},
        {R"({"type": "point", "color": [1, 1]})", prefix + "has a color of 2 numbers instead of 3"},
        {R"({"type": "point", "color": [1, -0.5, 1]})",
         prefix + "has a negative color component: -0.500000"},
        {R"({"type": "spot"})", prefix + "is a spot light without spot"},
        {R"({"type": "spot", "spot": {"innerConeAngle": 0.5, "outerConeAngle": 0.5}})",
         prefix + "has cone angles 0.500000 and 0.500000 outside 0 <= inner < outer <= pi/2"},
        {R"({"type": "spot", "spot": {"innerConeAngle": -0.1}})",
         prefix + "has cone angles -0.100000 and 0.785398 outside 0 <= inner < outer <= pi/2"},
        {R"({"type": "spot", "spot": {"outerConeAngle": 1.6}})",
         prefix + "has cone angles 0.000000 and 1.600000 outside 0 <= inner < outer <= pi/2"},
    };
    for (const auto& [light, failure] : cases) {
        EXPECT_EQ(failureOf([&light = light] { lightOfNode(light); }), failure) << light;
    }
}

TEST(PunctualLights, LightIndicesOutsideTheListAreRefused) {
    EXPECT_EQ(failureOf([] { lightOfNode(R"({"type": "point"})", 1); }),
              "DataInconsistent: loadLight: out of index: 1 < 1");
    EXPECT_EQ(failureOf([] { lightOfNode(R"({"type": "point"})", -1); }),
              "DataInconsistent: loadLight: out of index: -1 < 1");
    EXPECT_EQ(failureOf([] {
                  unarchiverOf(
                      R"("nodes": [{"extensions": {"KHR_lights_punctual": {"light": 0}}}])")
                      .loadNode(0);
              }),
              "DataInconsistent: loadLight: out of index: 0 < 0");
    // A light without its required type fails when the document is decoded.
    EXPECT_NE(failureOf([] { lightOfNode(R"({"intensity": 2})"); }).find("\"type\""),
              std::string::npos);
}

TEST(PunctualLights, TheCorpusLightDocumentReadsAPointLightWithDefaults) {
    if (corpusMissing()) {
        GTEST_SKIP() << "../shared not found: " << corpus;
    }
    GLTFUnarchiver unarchiver(corpus / "gltf/validator-KHR_lights_punctual/valid.gltf");
    const auto scene = unarchiver.loadRootNodesScene();
    ASSERT_EQ(scene->rootNode()->childNodes().size(), 1u);
    const auto light = scene->rootNode()->childNodes()[0]->light();
    ASSERT_TRUE(light);
    EXPECT_EQ(light->type, scene::LightType::point);
    EXPECT_EQ(light->intensity, 1);
    EXPECT_EQ(light->color, scene::Color::white(1));
}
