// writeUSDZ end to end: the package it leaves, its progress reports, how it fails, and the
// self-check's notes on good and broken layers.

#include "SceneBuilding.h"

#include <SceneGraph/Animation.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Skinner.h>
#include <USD/crate_reader/CrateReader.h>
#include <USD/layer/LayerBuilder.h>
#include <USD/package/PackageReader.h>
#include <gmock/gmock.h>

namespace usd::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::filesystem::path outputFolder() {
    const auto folder = std::filesystem::path(BRIGHTFOLD_BINARY_DIR) / "scene_writer_tests";
    std::filesystem::create_directories(folder);
    return folder;
}

std::shared_ptr<scene::Scene> texturedScene() {
    auto material = pbrMaterial();
    material->diffuse() = scene::MaterialProperty::withContents(pngImage({9, 9, 9}));
    auto geometry = quadGeometry(
        {floatSource(scene::GeometrySemantic::texcoord, {{0, 0}, {1, 0}, {1, 1}, {0, 1}})});
    geometry->setMaterials({material});
    return sceneWithGeometry(geometry);
}

TEST(SceneWriterPackage, WritesTheLayerFirstThenTheImages) {
    const auto path = outputFolder() / "two files.usdz";
    const auto scene = texturedScene();
    const USDZWriteResult result = writeUSDZ(*scene, path);
    ASSERT_TRUE(result.succeeded) << result.failure;
    EXPECT_THAT(result.notes, IsEmpty());

    const PackageReader package = PackageReader::open(path);
    ASSERT_EQ(package.entries().size(), 2u);
    EXPECT_EQ(package.entries()[0].name, "two_files.usdc");
    EXPECT_EQ(package.entries()[1].name, "textures/picture.png");
    const Layer layer = readCrate(package.rootLayer().bytes);
    EXPECT_EQ(layer, buildSceneLayer(*scene, "two_files").layer) << "the crate holds the layer";
}

TEST(SceneWriterPackage, ProgressRisesToExactlyOneAtTheEnd) {
    std::vector<double> reports;
    const auto result = writeUSDZ(*texturedScene(), outputFolder() / "progress.usdz",
                                  [&](double fraction) { reports.push_back(fraction); });
    ASSERT_TRUE(result.succeeded);
    ASSERT_GE(reports.size(), 3u);
    EXPECT_TRUE(std::ranges::is_sorted(reports));
    EXPECT_GE(reports.front(), 0.0);
    EXPECT_EQ(reports.back(), 1.0);
    EXPECT_EQ(std::ranges::count(reports, 1.0), 1);
}

TEST(SceneWriterPackage, UnwritablePlaceIsAFailureWithAMessageAndNoException) {
    std::vector<double> reports;
    const auto result =
        writeUSDZ(*texturedScene(), outputFolder() / "no such folder" / "model.usdz",
                  [&](double fraction) { reports.push_back(fraction); });
    EXPECT_FALSE(result.succeeded);
    EXPECT_THAT(result.failure, ::testing::StartsWith("The USDZ file could not be written"));
    EXPECT_FALSE(std::filesystem::exists(outputFolder() / "no such folder" / "model.usdz"));
    EXPECT_EQ(reports.back(), 1.0) << "the progress bar still ends";
}

TEST(SceneWriterSelfCheck, ReportsOnlyTheMotionStillLeftOut) {
    auto scene = sceneWithGeometry(quadGeometry(), "Body");
    auto node = scene->rootNode()->childNodes()[0];
    auto geometry = node->geometry();
    auto bone = scene::Node::create("Bone");
    scene->rootNode()->addChildNode(bone);
    node->setSkinner(scene::Skinner::create(
        geometry, {bone}, std::nullopt,
        floatSource(scene::GeometrySemantic::boneWeights, {{1}, {1}, {1}, {1}}),
        floatSource(scene::GeometrySemantic::boneIndices, {{0}, {0}, {0}, {0}})));
    auto morpher = scene::Morpher::create();
    morpher->setTargets({quadGeometry(), quadGeometry()});
    node->setMorpher(morpher);
    bone->addAnimation(scene::KeyframeAnimation::create("orientation"), "spin");
    const auto notes = checkWrittenLayer(*scene, buildSceneLayer(*scene).layer);
    // The skin and the morph targets are written; an animation without keys moves nothing.
    EXPECT_THAT(notes, ElementsAre("The scene's animations were left out; the file is static."));
}

TEST(SceneWriterSelfCheck, FindsWhatABrokenLayerGetsWrong) {
    const auto scene = texturedScene();
    Layer layer = buildSceneLayer(*scene).layer;
    LayerBuilder build(layer);
    const Path surface = Path::fromString("/Root/Materials/Surface/PreviewSurface");
    build.addAttribute(surface, "inputs:metallic", {"double", 1.0});
    build.setConnections(build.addAttribute(surface, "inputs:occlusion", {"float"}),
                         {Path::fromString("/Root/Materials/Surface/gone.outputs:r")});
    build.addRelationship(Path::fromString("/Root/Shape"), "material:binding",
                          {Path::fromString("/Root/Nothing")});
    build.definePrim(Path::fromString("/Root/Shape/Inner"), "Mesh");
    build.setLayerMetadata("upAxis", Token{"Z"});
    const std::vector<PackagedFile> noFiles;

    const auto notes = checkWrittenLayer(*scene, layer, &noFiles);
    const auto has = [&](const std::string& text) {
        return std::ranges::any_of(notes, [&](const auto& f) { return f.find(text) != f.npos; });
    };
    EXPECT_TRUE(has("PreviewSurface.inputs:metallic: is double, not float"));
    EXPECT_TRUE(has("inputs:occlusion: is connected to a missing output"));
    EXPECT_TRUE(has("/Root/Shape: is bound to /Root/Nothing, which is no material"));
    EXPECT_TRUE(has("/Root/Shape/Inner: a geometric prim inside another one"));
    EXPECT_TRUE(has("up axis is not Y"));
    EXPECT_TRUE(has("names a file the package lacks: ./textures/picture.png"));
    EXPECT_TRUE(has("/Root/Shape/Inner lacks its faces"));
}

} // namespace
} // namespace usd::test
