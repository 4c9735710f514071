// A mesh's material variants as a variant set of its prim: each variant binds its material,
// the default binding stays outside, and readers that select nothing show the default.

#include "SceneBuilding.h"

#include <SceneGraph/Geometry.h>
#include <SceneGraph/Node.h>
#include <USD/crate_writer/CrateWriter.h>
#include <USD/layer/LayerBuilder.h>
#include <USD/scene_reader/SceneReader.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace usd::test {
namespace {

const std::string mesh = "/Root/Shape";

const scene::Material* firstMaterialBelow(const scene::Node& node) {
    if (node.geometry() && !node.geometry()->materials().empty())
        return node.geometry()->materials().front().get();
    for (const auto& child : node.childNodes())
        if (const scene::Material* found = firstMaterialBelow(*child))
            return found;
    return nullptr;
}

std::string materialNameOf(const scene::Scene& scene) {
    const scene::Material* material = firstMaterialBelow(*scene.rootNode());
    return material ? material->name : "none";
}

std::filesystem::path temporaryFile(const std::string& name) {
    return std::filesystem::temp_directory_path() / name;
}

} // namespace

TEST(SceneWriterMaterialVariants, EachVariantBindsItsMaterialToASubsetOfEveryFace) {
    const SceneLayer built = buildSceneLayer(*materialVariantScene());
    const Layer& layer = built.layer;
    EXPECT_EQ(sourceOf(layer, mesh + ".material:binding"), "/Root/Materials/leather");
    const std::pair<const char*, const char*> looks[] = {
        {"Mint_Green", "canvas"}, {"classic", "leather"}, {"Mint_Green_1", "canvas"}};
    for (const auto& [variant, material] : looks) {
        const std::string subset = mesh + "{materialVariant=" + variant + "}/variantLook";
        EXPECT_EQ(typeOf(layer, subset), "GeomSubset");
        EXPECT_EQ(sourceOf(layer, subset + ".material:binding"),
                  std::string("/Root/Materials/") + material);
        EXPECT_EQ(valueAt<Array<std::int32_t>>(layer, subset + ".indices"),
                  (Array<std::int32_t>{0, 1}));
    }
    EXPECT_EQ(*metadataOf(layer, mesh, "variantSelection"),
              Value(VariantSelectionMap{{"materialVariant", "classic"}}));
    EXPECT_EQ(*metadataOf(layer, mesh, "variantSetNames"),
              Value(StringListOp::makePrepended({"materialVariant"})));
    EXPECT_TRUE(built.notes.empty()) << built.notes.front();

    // When no look shows the default material, none is selected.
    const Layer noDefault = buildSceneLayer(*materialVariantScene(false)).layer;
    EXPECT_EQ(*metadataOf(noDefault, mesh, "variantSelection"),
              Value(VariantSelectionMap{{"materialVariant", ""}}));
    EXPECT_FALSE(hasSpec(buildSceneLayer(*sceneWithGeometry(quadGeometry())).layer,
                         mesh + "{materialVariant=}"));
}

TEST(SceneWriterMaterialVariants, ThePackageReadsBackWithTheDefaultLookAndASelectionSwitchesIt) {
    for (const bool leatherIsAVariant : {true, false}) {
        const auto package = temporaryFile("variants.usdz");
        ASSERT_TRUE(writeUSDZ(*materialVariantScene(leatherIsAVariant), package).succeeded);
        EXPECT_EQ(materialNameOf(*readUSDZ(package)), "leather") << leatherIsAVariant;
    }

    SceneLayer built = buildSceneLayer(*materialVariantScene());
    LayerBuilder(built.layer)
        .selectVariant(Path::fromString(mesh), "materialVariant", "Mint_Green");
    const auto layerFile = temporaryFile("variants.usdc");
    const std::vector<std::uint8_t> crate = writeCrate(built.layer);
    std::ofstream(layerFile, std::ios::binary)
        .write(reinterpret_cast<const char*>(crate.data()),
               static_cast<std::streamsize>(crate.size()));
    EXPECT_EQ(materialNameOf(*readUSDLayerFile(layerFile)), "canvas");
}

} // namespace usd::test
