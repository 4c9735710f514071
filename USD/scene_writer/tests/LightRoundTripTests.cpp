// Lights written into a package for USD tools and read back: the same type, colour, intensity and
// cone on a node of the same name and world transform; and the corpus document with a light.

#include "SceneBuilding.h"
#include "StaticCorpus.h"

#include <GLTFReader/GLTFSceneSource.h>
#include <SceneGraph/Light.h>
#include <USD/scene_reader/SceneReader.h>
#include <algorithm>
#include <gtest/gtest.h>

namespace usd::test {
namespace {

std::shared_ptr<scene::Scene> writtenAndRead(const scene::Scene& scene, const std::string& name) {
    const auto package = std::filesystem::temp_directory_path() / (name + ".usdz");
    const USDZWriteResult written = writeUSDZ(scene, package, {}, {}, {}, usdToolsOptions());
    EXPECT_TRUE(written.succeeded) << written.failure;
    return readUSDZ(package);
}

std::vector<const scene::Node*> litNodes(const scene::Scene& scene) {
    std::vector<const scene::Node*> lit;
    scene.rootNode()->enumerateHierarchy([&](const scene::Node& node) {
        if (node.light())
            lit.push_back(&node);
    });
    return lit;
}

void expectSameLight(const scene::Light& read, const scene::Light& original) {
    EXPECT_EQ(read.name, original.name);
    EXPECT_EQ(read.type, original.type);
    EXPECT_NEAR(read.color.green, original.color.green, 1e-6);
    EXPECT_NEAR(read.color.blue, original.color.blue, 1e-6);
    EXPECT_NEAR(read.intensity, original.intensity, 1e-4);
    if (original.type == scene::LightType::spot) {
        EXPECT_NEAR(read.innerConeAngle, original.innerConeAngle, 1e-6);
        EXPECT_NEAR(read.outerConeAngle, original.outerConeAngle, 1e-6);
    }
    EXPECT_FALSE(read.range) << "a package holds no range";
}

void expectSameMatrix(const scene::Matrix4& read, const scene::Matrix4& original) {
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            EXPECT_NEAR(read[column][row], original[column][row], 1e-5) << column << "," << row;
}

TEST(LightRoundTrip, LightsComeBackOnTheirNodesWhereTheyWere) {
    const auto original = litScene();
    const auto read = writtenAndRead(*original, "lights");
    ASSERT_TRUE(read);
    const auto lit = litNodes(*read);
    ASSERT_EQ(lit.size(), 3u);
    for (const scene::Node* node : lit) {
        SCOPED_TRACE(node->name());
        const auto source = original->rootNode()->childNodeWithName(node->name(), true);
        ASSERT_TRUE(source);
        expectSameLight(*node->light(), *source->light());
        expectSameMatrix(node->worldTransform(), source->worldTransform());
    }
}

TEST(LightRoundTrip, TheCorpusLightDocumentKeepsItsPointLight) {
    const auto models = staticCorpusModels();
    const auto model = std::ranges::find_if(models, [](const CorpusModel& m) {
        return m.name.find("KHR_lights_punctual") != std::string::npos;
    });
    if (model == models.end())
        GTEST_SKIP() << "../shared not found, or its corpus has no light document";
    const auto loaded = GLTFSceneSource(model->file).sceneWithOptions();
    const auto read = writtenAndRead(*loaded, "corpus_lights");
    const auto lit = litNodes(*read);
    ASSERT_EQ(lit.size(), 1u);
    expectSameLight(*lit.front()->light(), *litNodes(*loaded).front()->light());
}

} // namespace
} // namespace usd::test
