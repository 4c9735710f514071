// The names users see in every USD tool: a package converted from "My Model (1).gltf" has its
// root prim, default prim and root layer named after that file, not after the temporary file.

#include "ManualMainQueue.h"
#include "TestFolder.h"
#include "TriangleModel.h"

#include <Brightfold/ConversionWorkflow.h>
#include <Brightfold/SceneServices.h>
#include <USD/crate_reader/CrateReader.h>
#include <USD/layer/Path.h>
#include <USD/package/PackageReader.h>
#include <gtest/gtest.h>

namespace {

TEST(PackageNames, RootPrimDefaultPrimAndLayerAreNamedAfterTheSource) {
    TestFolder folder;
    const auto temporary = folder.path() / "tmp";
    std::filesystem::create_directory(temporary);
    ManualMainQueue queue;
    brightfold::ConversionWorkflow workflow(brightfold::makeSceneServices(temporary),
                                            queue.poster());
    workflow.startConversion(folder.write("My Model (1).gltf", triangle));
    do {
        workflow.waitForBackgroundWork();
    } while (queue.drain());
    const auto* preview = std::get_if<brightfold::Preview>(&workflow.state());
    ASSERT_NE(preview, nullptr);

    workflow.saveConvertedFile(preview->tempURL, preview->originalURL);
    const auto saved = folder.path() / "My Model (1).usdz";
    ASSERT_TRUE(std::holds_alternative<brightfold::Success>(workflow.state()));
    const usd::PackageReader package = usd::PackageReader::open(saved);
    EXPECT_EQ(package.rootLayer().name, "My_Model__1_.usdc");
    const usd::Layer layer = usd::readCrate(package.rootLayer().bytes);
    const usd::Value* defaultPrim = layer.pseudoRoot()->field("defaultPrim");
    ASSERT_NE(defaultPrim, nullptr);
    EXPECT_EQ(defaultPrim->get<usd::Token>()->text, "My_Model__1_");
    EXPECT_TRUE(layer.hasSpec(usd::Path::absoluteRoot().appendChild("My_Model__1_")));
}

} // namespace
