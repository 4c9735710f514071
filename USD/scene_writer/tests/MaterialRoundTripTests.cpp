// Materials whose looks the preview surface needs more than its plain inputs for, written and
// read back: unlit surfaces stay unlit, vertex colours stay on the mesh and in the material.

#include "SceneBuilding.h"

#include <USD/scene_reader/SceneReader.h>
#include <gmock/gmock.h>

namespace usd::test {
namespace {

std::shared_ptr<scene::Scene> readBack(const scene::Scene& scene, const std::string& name,
                                       SceneReadNotes& readNotes) {
    const auto package = std::filesystem::temp_directory_path() / (name + ".usdz");
    const USDZWriteResult written = writeUSDZ(scene, package);
    EXPECT_TRUE(written.succeeded) << written.failure;
    return readUSDZ(package, readNotes);
}

// The first node that draws something.
const scene::Node* firstShape(const scene::Scene& scene) {
    const scene::Node* found = nullptr;
    scene.rootNode()->enumerateHierarchy([&](const scene::Node& node) {
        if (node.geometry() && !found)
            found = &node;
    });
    return found;
}

std::shared_ptr<scene::Material> materialOf(const scene::Scene& scene) {
    const scene::Node* shape = firstShape(scene);
    return shape ? shape->geometry()->materialForElement(0) : nullptr;
}

TEST(MaterialRoundTrip, AnUnlitTexturedBlendedSurfaceReadsBackUnlitWithoutWarnings) {
    auto m = pbrMaterial("Glow");
    m->lightingModel = scene::LightingModel::constant;
    m->blendMode = scene::BlendMode::alpha;
    m->diffuse().contents = pngImage({200, 100, 50, 128});
    m->setNamedValue("baseColorFactorR", 0.25);
    auto geometry = quadGeometry(
        {floatSource(scene::GeometrySemantic::texcoord, {{0, 0}, {1, 0}, {1, 1}, {0, 1}})});
    geometry->setMaterials({m});
    SceneReadNotes readNotes;
    const auto read = readBack(*sceneWithGeometry(geometry), "unlit", readNotes);
    ASSERT_TRUE(read);
    EXPECT_THAT(readNotes, ::testing::IsEmpty());
    const auto material = materialOf(*read);
    ASSERT_TRUE(material);
    EXPECT_EQ(material->lightingModel, scene::LightingModel::constant);
    EXPECT_NE(material->diffuse().image(), nullptr);
    EXPECT_EQ(material->diffuse().textureComponents, scene::ColorComponents::all); // its alpha
    EXPECT_EQ(*material->namedValue("baseColorFactorR")->number(), 0.25);
    EXPECT_EQ(material->blendMode, scene::BlendMode::alpha);
}

TEST(MaterialRoundTrip, VertexColoursAndOpacitiesReadBackAsTheMeshColours) {
    auto m = pbrMaterial("Paint");
    m->blendMode = scene::BlendMode::alpha;
    auto geometry =
        quadGeometry({floatSource(scene::GeometrySemantic::color,
                                  {{1, 0, 0, 1}, {0, 1, 0, 0.5f}, {0, 0, 1, 1}, {1, 1, 1, 1}})});
    geometry->setMaterials({m});
    SceneReadNotes readNotes;
    const auto read = readBack(*sceneWithGeometry(geometry), "colours", readNotes);
    ASSERT_TRUE(read);
    EXPECT_THAT(readNotes, ::testing::IsEmpty());
    const auto material = materialOf(*read);
    ASSERT_TRUE(material);
    EXPECT_EQ(*material->diffuse().color(), scene::Color::white(1.0));
    EXPECT_EQ(material->blendMode, scene::BlendMode::alpha);
    const auto colors = firstShape(*read)->geometry()->firstSource(scene::GeometrySemantic::color);
    ASSERT_NE(colors, nullptr);
    EXPECT_EQ(colors->componentsPerVector(), 4);
}

} // namespace
} // namespace usd::test
