// A mesh's material variants as a variant set of its prim: each variant binds its material,
// the default binding stays outside, and readers that select nothing show the default.

#include "SceneBuilding.h"

#include <SceneGraph/Geometry.h>
#include <SceneGraph/Node.h>
#include <USD/CrateWriter.h>
#include <USD/LayerBuilder.h>
#include <USD/USDZReader.h>
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

TEST(SceneWriterMaterialVariants, EachVariantBindsItsMaterialAndTheDefaultLookIsSelected) {
    const SceneLayer built = buildSceneLayer(*materialVariantScene());
    const Layer& layer = built.layer;
    // A binding on the prim itself would outweigh the variants' ones.
    EXPECT_FALSE(hasSpec(layer, mesh + ".material:binding"));
    EXPECT_EQ(sourceOf(layer, mesh + "{materialVariant=Mint_Green}.material:binding"),
              "/Root/Materials/canvas");
    EXPECT_EQ(sourceOf(layer, mesh + "{materialVariant=classic}.material:binding"),
              "/Root/Materials/leather");
    EXPECT_EQ(sourceOf(layer, mesh + "{materialVariant=Mint_Green_1}.material:binding"),
              "/Root/Materials/canvas");
    EXPECT_EQ(*metadataOf(layer, mesh, "variantSelection"),
              Value(VariantSelectionMap{{"materialVariant", "classic"}}));
    EXPECT_EQ(*metadataOf(layer, mesh, "variantSetNames"),
              Value(StringListOp::makePrepended({"materialVariant"})));
    for (const std::string& finding : built.findings)
        EXPECT_EQ(finding.find("bind"), std::string::npos) << finding;

    // When no look shows the default material, a variant of its own does, and is selected.
    const Layer noDefault = buildSceneLayer(*materialVariantScene(false)).layer;
    EXPECT_EQ(sourceOf(noDefault, mesh + "{materialVariant=default}.material:binding"),
              "/Root/Materials/leather");
    EXPECT_EQ(*metadataOf(noDefault, mesh, "variantSelection"),
              Value(VariantSelectionMap{{"materialVariant", "default"}}));

    const Layer plain = buildSceneLayer(*sceneWithGeometry(quadGeometry())).layer;
    EXPECT_FALSE(hasSpec(plain, mesh + "{materialVariant=}"));
    EXPECT_TRUE(hasSpec(plain, mesh + ".material:binding"));
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
