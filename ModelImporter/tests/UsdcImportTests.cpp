// .usdc files go through our USD scene reader; its failures reach the caller as ImportError.
#include "CorpusFiles.h"
#include "SceneInspection.h"

#include <ModelImporter/ModelImporter.h>
#include <SceneGraph/MaterialContract.h>
#include <SceneReaderTestSupport.h>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

using namespace modelimporter;

namespace {

TEST(UsdcImport, ReadsCorpusLayersIntoScenesWithGeometry) {
    for (const char* name : {"usd/suzanne_blender282.usdc", "usd/skintest.usdc"}) {
        SCOPED_TRACE(name);
        const auto file = brightfold::testing::corpusFile(name);
        REQUIRE_CORPUS_FILE(file);
        const auto scene = importModel(file);
        ASSERT_NE(scene, nullptr);
        EXPECT_TRUE(hasGeometry(*scene));
        EXPECT_GT(totalVertexCount(*scene), 0u);
    }
}

TEST(UsdcImport, ExtensionIsMatchedInAnyCaseAndFailuresAreImportErrors) {
    const auto folder = std::filesystem::path(BRIGHTFOLD_BINARY_DIR) / "usdc-import-test";
    std::filesystem::create_directories(folder);
    const auto notACrate = folder / "broken.USDC";
    std::ofstream(notACrate) << "#usda 1.0\n";
    EXPECT_THROW(importModel(notACrate), ImportError);
    EXPECT_THROW(importModel(folder / "absent.usdc"), ImportError);
}

TEST(UsdcImport, UsdFilesAreReadWhenTheyHoldACrateAndRefusedAsTextOtherwise) {
    const auto crate = brightfold::testing::corpusFile("usd/suzanne_blender282.usdc");
    REQUIRE_CORPUS_FILE(crate);
    const auto folder = std::filesystem::path(BRIGHTFOLD_BINARY_DIR) /
                        ("usd-import-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto crateLayer = folder / "suzanne.usd";
    std::filesystem::copy_file(crate, crateLayer,
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_TRUE(hasGeometry(*importModel(crateLayer)));

    const auto textLayer = folder / "text.usd";
    std::ofstream(textLayer) << "#usda 1.0\n";
    try {
        importModel(textLayer);
        ADD_FAILURE() << "a text layer was imported";
    } catch (const ImportError& error) {
        EXPECT_NE(std::string(error.what()).find("text (.usda) layer"), std::string::npos)
            << error.what();
    }
    std::filesystem::remove_all(folder);
}

TEST(UsdcImport, WhatTheLayerReaderLeavesOutBecomesImportNotes) {
    using namespace usd;
    Layer layer = test::metreLayer();
    LayerBuilder build(layer);
    test::defineQuad(build, "/Quad");
    build.definePrim(Path::fromString("/Panel"), "RectLight");
    const auto file = test::scratchFolder() / "panel.usdc";
    test::writeFile(file, test::crateFile("panel.usdc", layer).bytes);

    const auto scene = importModel(file);
    EXPECT_THAT(
        scene::notes(*scene),
        ::testing::ElementsAre("The RectLight prim /Panel cannot be shown; it is left out."));
}

} // namespace
