#include "support/GLTFTestDocument.h"
#include "support/ThrownBy.h"

#include <GLTFReader/FileReading.h>
#include <GLTFReader/GLTFSceneSource.h>
#include <GLTFReader/GLTFUnarchiver.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using gltf::testing::GLTFTestDocument;
using gltf::testing::thrownBy;
using Kind = GLTFUnarchiveError::Kind;

namespace {

std::filesystem::path writeTemporaryFile(const std::string& name, const std::string& contents) {
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / "GLTFReaderTests";
    std::filesystem::create_directories(directory);
    const std::filesystem::path path = directory / name;
    std::ofstream(path, std::ios::binary) << contents;
    return path;
}

} // namespace

TEST(UnarchiveError, DescriptionsCarryTheKind) {
    EXPECT_STREQ(GLTFUnarchiveError::dataInconsistent("m").what(), "DataInconsistent: m");
    EXPECT_STREQ(GLTFUnarchiveError::notSupported("m").what(), "NotSupported: m");
    EXPECT_STREQ(GLTFUnarchiveError::unknown("m").what(), "m");
}

TEST(IndexCache, BuildsOnceAndKeepsTheResult) {
    gltf::IndexCache<int> cache;
    cache.resize(2);
    int builds = 0;
    int hooks = 0;
    const auto build = [&] { return ++builds * 10; };
    const auto hook = [&](const int&) { ++hooks; };
    EXPECT_EQ(cache.load(1, "loadThing", build, hook), 10);
    EXPECT_EQ(cache.load(1, "loadThing", build, hook), 10);
    EXPECT_EQ(cache.load(0, "loadThing", build), 20);
    EXPECT_EQ(builds, 2);
    EXPECT_EQ(hooks, 1);
}

TEST(IndexCache, RefusesIndicesOutsideTheDocumentArray) {
    gltf::IndexCache<int> cache;
    cache.resize(2);
    for (const std::int64_t index : {2, -1}) {
        const GLTFUnarchiveError error = thrownBy<GLTFUnarchiveError>(
            [&] { cache.load(index, "loadBuffer", [] { return 0; }); });
        EXPECT_EQ(error.kind(), Kind::DataInconsistent);
        EXPECT_EQ(error.message(), "loadBuffer: out of index: " + std::to_string(index) + " < 2");
    }
}

TEST(IndexCache, AFailedBuildLeavesTheSlotEmpty) {
    gltf::IndexCache<int> cache;
    cache.resize(1);
    EXPECT_THROW(
        cache.load(0, "loadImage", []() -> int { throw GLTFUnarchiveError::unknown("broken"); }),
        GLTFUnarchiveError);
    EXPECT_EQ(cache.load(0, "loadImage", [] { return 5; }), 5);
}

TEST(Unarchiver, SizesEveryCacheFromItsDocumentArray) {
    const GLTFUnarchiver unarchiver(GLTFTestDocument(R"(
        "scenes": [{}, {}], "nodes": [{}, {}, {}], "accessors": [
            {"componentType": 5126, "count": 1, "type": "SCALAR"}],
        "animations": [{"channels": [], "samplers": []}],
        "buffers": [{"byteLength": 1}], "materials": [{}, {}])")
                                        .gltf());
    const gltf::UnarchiverCaches& caches = unarchiver.caches();
    EXPECT_EQ(caches.scenes.size(), 2u);
    EXPECT_EQ(caches.nodes.size(), 3u);
    EXPECT_EQ(caches.accessors.size(), 1u);
    EXPECT_EQ(caches.durations.size(), 1u);
    EXPECT_EQ(caches.animationChannels.size(), 1u);
    EXPECT_EQ(caches.animationSamplers.size(), 1u);
    EXPECT_EQ(caches.buffers.size(), 1u);
    EXPECT_EQ(caches.materials.size(), 2u);
    EXPECT_EQ(caches.bufferViews.size(), 0u);
    EXPECT_EQ(caches.meshes.size(), 0u);
    EXPECT_FALSE(unarchiver.directoryPath());
}

TEST(Unarchiver, RefusesDocumentsThatRequireAnExtensionItCannotApply) {
    const GLTFUnarchiveError error = thrownBy<GLTFUnarchiveError>([] {
        GLTFUnarchiver(GLTFTestDocument(R"("extensionsUsed": ["KHR_texture_basisu"],
            "extensionsRequired": ["KHR_texture_basisu"])")
                           .gltf());
    });
    EXPECT_EQ(error.kind(), Kind::NotSupported);
    EXPECT_EQ(error.message(), "init: required extension KHR_texture_basisu is not supported");

    // Merely used extensions, known required ones and those a caller registers are fine.
    EXPECT_NO_THROW(GLTFUnarchiver(GLTFTestDocument(R"("extensionsUsed": ["EXT_unknown"],
        "extensionsRequired": ["KHR_materials_pbrSpecularGlossiness"])")
                                       .gltf()));
    const GLTFExtensionRegistry callerRegistry{
        {"EXT_unknown", {[](const gltf::JsonObject&) { return nullptr; }}}};
    EXPECT_NO_THROW(GLTFUnarchiver(
        GLTFTestDocument(R"("extensionsRequired": ["EXT_unknown"])").gltf(), callerRegistry));
}

TEST(Unarchiver, FromAPathKeepsTheDocumentDirectory) {
    const std::filesystem::path path =
        writeTemporaryFile("directory.gltf", GLTFTestDocument(R"("nodes": [{}])").json());
    const GLTFUnarchiver unarchiver(path);
    EXPECT_EQ(unarchiver.directoryPath(), path.parent_path());
    EXPECT_EQ(unarchiver.json().nodes->size(), 1u);
}

TEST(SceneSource, KeepsEitherTheLoaderOrTheError) {
    const GLTFSceneSource fromData(GLTFTestDocument().glb());
    ASSERT_NE(fromData.loader(), nullptr);
    EXPECT_FALSE(fromData.error());
    EXPECT_EQ(&fromData.requireLoader(), fromData.loader());
    EXPECT_FALSE(fromData.loader()->directoryPath());

    const GLTFSceneSource broken(gltf::testing::blockOf("{}"));
    EXPECT_EQ(broken.loader(), nullptr);
    EXPECT_THROW(broken.requireLoader(), gltf::DecodingError);

    const GLTFSceneSource empty;
    const GLTFUnarchiveError error = thrownBy<GLTFUnarchiveError>([&] { empty.requireLoader(); });
    EXPECT_EQ(error.kind(), Kind::Unknown);
    EXPECT_STREQ(error.what(), "loader is not initialized");
}

TEST(SceneSource, AMissingFileReportsTheFileError) {
    const GLTFSceneSource source(std::filesystem::path("/nonexistent/model.glb"));
    EXPECT_EQ(source.loader(), nullptr);
    const gltf::FileError error = thrownBy<gltf::FileError>([&] { source.requireLoader(); });
    EXPECT_STREQ(error.what(),
                 "cannot read the file \"/nonexistent/model.glb\": No such file or directory");
}

TEST(FileReading, ReadsWholeFilesOfAnnouncedAndUnknownLength) {
    std::string pattern(300000, '\0');
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        pattern[i] = static_cast<char>(i * 7);
    }
    const gltf::ByteBlock regular = gltf::readWholeFile(writeTemporaryFile("pattern.bin", pattern));
    EXPECT_EQ(std::string(regular->begin(), regular->end()), pattern);

    // Files under /proc announce a size of zero yet have contents.
    const gltf::ByteBlock unannounced = gltf::readWholeFile("/proc/self/status");
    EXPECT_NE(std::string(unannounced->begin(), unannounced->end()).find("Name:"),
              std::string::npos);

    const gltf::FileError error = thrownBy<gltf::FileError>(
        [] { gltf::readWholeFile(std::filesystem::temp_directory_path()); });
    EXPECT_NE(std::string(error.what()).find("Is a directory"), std::string::npos);
}

TEST(SceneSource, PassesTheCallerRegistryOn) {
    const std::filesystem::path path = writeTemporaryFile(
        "registry.gltf", GLTFTestDocument(R"("extensionsRequired": ["EXT_caller"])").json());
    EXPECT_TRUE(GLTFSceneSource(path).error());
    const GLTFExtensionRegistry callerRegistry{
        {"EXT_caller", {[](const gltf::JsonObject&) { return nullptr; }}}};
    const GLTFSceneSource source(path, callerRegistry);
    ASSERT_NE(source.loader(), nullptr);
    EXPECT_EQ(source.loader()->directoryPath(), path.parent_path());
}
