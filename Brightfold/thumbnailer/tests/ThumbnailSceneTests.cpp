#include "CorpusFiles.h"
#include "TestFolder.h"
#include "ThumbnailScene.h"

#include <Brightfold/SceneServices.h>
#include <GLTFReader/ConsoleOutput.h>
#include <SceneGraph/Scene.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace brightfold::thumbnailer {
namespace {

using ::testing::HasSubstr;

std::string refusal(const std::filesystem::path& file) {
    const auto services = makeSceneServices();
    try {
        loadThumbnailScene(file, *services);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "(drawn)";
}

TEST(ThumbnailScene, RefusesFilesOverTheLimitBeforeReadingThem) {
    TestFolder folder;
    const auto file = folder.write("huge.glb", "glTF");
    std::filesystem::resize_file(file, maximumInputBytes + 1); // sparse: no time spent writing
    EXPECT_THAT(refusal(file), HasSubstr("larger than 100 MiB"));
    std::filesystem::resize_file(file, maximumInputBytes);
    EXPECT_THAT(refusal(file), ::testing::Not(HasSubstr("larger than")));
}

TEST(ThumbnailScene, SaysWhyAFileGivesNoPicture) {
    TestFolder folder;
    EXPECT_THAT(refusal(folder.path() / "missing.glb"), HasSubstr("cannot read"));
    EXPECT_THAT(refusal(folder.write("noise.glb", "not a model at all")),
                ::testing::Not(HasSubstr("(drawn)")));
    EXPECT_THAT(refusal(folder.write("noise.usdz", "PK\x03\x04 not really")),
                ::testing::Not(HasSubstr("(drawn)")));
    const auto empty = folder.write(
        "empty.gltf", R"({"asset": {"version": "2.0"}, "scenes": [{"nodes": [0]}], "scene": 0,
                         "nodes": [{"name": "nothing here"}]})");
    EXPECT_THAT(refusal(empty), HasSubstr("holds no geometry to draw"));
}

TEST(ThumbnailScene, ReadsModelsAndPackagesOfTheCorpusWithoutTheirBackdrop) {
    const std::filesystem::path& corpus = brightfold::testing::corpus;
    if (!std::filesystem::exists(corpus)) {
        GTEST_SKIP() << "no corpus at " << corpus;
    }
    const auto services = makeSceneServices();
    gltf::redirectConsoleLines([](std::string_view) {}); // the reader's animation trace
    for (const char* model :
         {"glb/BoxTextured.glb", "gltf/AnimatedMorphCube/AnimatedMorphCube.gltf"}) {
        SCOPED_TRACE(model);
        const SceneHandle scene = loadThumbnailScene(corpus / model, *services);
        ASSERT_NE(scene, nullptr);
        EXPECT_TRUE(services->hasGeometry(*scene));
    }
}

} // namespace
} // namespace brightfold::thumbnailer
