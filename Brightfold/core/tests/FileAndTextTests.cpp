#include "TestFolder.h"

#include <Brightfold/AtomicMove.h>
#include <Brightfold/DroppedItem.h>
#include <Brightfold/FileURL.h>
#include <Brightfold/Identifier.h>
#include <Brightfold/SaveDestination.h>
#include <Brightfold/Utf8.h>
#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <set>

using namespace brightfold;

namespace {

TEST(FileURL, LocalFileURLsDecodeToTheirPath) {
    EXPECT_EQ(parseFileURL("file:///home/ann/model.glb"), "/home/ann/model.glb");
    EXPECT_EQ(parseFileURL("FILE://localhost/a/b.gltf"), "/a/b.gltf");
    EXPECT_EQ(parseFileURL("file:/a/b.glb"), "/a/b.glb");
    EXPECT_EQ(parseFileURL("file:///a/b%20c%C3%A9.glb\r\n"), "/a/b c\xC3\xA9.glb");
    EXPECT_EQ(parseFileURL("file:///a/b.glb?x=1#frag"), "/a/b.glb");
}

TEST(FileURL, AnythingButALocalFileIsRefused) {
    for (const char* text :
         {"", "model.glb", "/a/b.glb", "https://host/a.glb", "file://otherhost/a.glb",
          "file://localhost", "file:relative/a.glb", "file:///a/b%2", "file:///a/b%zz.glb",
          "file:///a/%00.glb", "file:///a/b\tc.glb", "file:///a\nb.glb"}) {
        EXPECT_FALSE(parseFileURL(text)) << text;
    }
}

TEST(Utf8, AcceptsWellFormedText) {
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("plain ascii"));
    EXPECT_TRUE(isValidUtf8("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF"));
}

TEST(Utf8, RefusesMalformedSequences) {
    for (const char* bytes : {"\x80", "\xC0\xAF", "\xC3", "\xE0\x80\xAF", "\xED\xA0\x80",
                              "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\xE2\x82", "ok\xFF"}) {
        EXPECT_FALSE(isValidUtf8(bytes)) << ::testing::PrintToString(std::string(bytes));
    }
}

TEST(DroppedItem, DecodesOnlyUtf8FileURLs) {
    const auto bytes = [](std::string_view text) {
        return DropData(std::vector<std::uint8_t>(text.begin(), text.end()));
    };
    EXPECT_EQ(decodeDroppedFile(bytes("file:///a/b.glb")), "/a/b.glb");
    EXPECT_FALSE(decodeDroppedFile(std::nullopt));
    EXPECT_FALSE(decodeDroppedFile(bytes("file:///a/\xFF.glb")));
    EXPECT_FALSE(decodeDroppedFile(bytes("b.glb")));
}

TEST(SaveDestination, ReplacesOnlyTheLastExtension) {
    EXPECT_EQ(usdzDestinationFor("/d/model.glb"), "/d/model.usdz");
    EXPECT_EQ(usdzDestinationFor("/d/model.v2.GLTF"), "/d/model.v2.usdz");
    EXPECT_EQ(usdzDestinationFor("/d.x/model"), "/d.x/model.usdz");
    // A package made AR-ready is saved beside its source, never over it.
    EXPECT_EQ(usdzDestinationFor("/d/shop.USDZ"), "/d/shop-ar.usdz");
}

TEST(Identifier, IsAFreshUpperCaseCanonicalUUID) {
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        const std::string uuid = makeUpperCaseUUID();
        ASSERT_EQ(uuid.size(), 36u);
        EXPECT_EQ(uuid[8], '-');
        EXPECT_EQ(uuid[23], '-');
        EXPECT_TRUE(std::none_of(uuid.begin(), uuid.end(), ::islower)) << uuid;
        seen.insert(uuid);
    }
    EXPECT_EQ(seen.size(), 100u);
}

TEST(AtomicMove, ReplacesTheDestinationAndConsumesTheSource) {
    TestFolder folder;
    const auto from = folder.write("new.usdz", "new");
    const auto to = folder.write("model.usdz", "old");
    moveFileAtomically(from, to);
    EXPECT_EQ(contentsOf(to), "new");
    EXPECT_FALSE(std::filesystem::exists(from));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

// Shared memory is a separate file system on most machines, which forces the copy path.
TEST(AtomicMove, WorksAcrossFileSystems) {
    const std::filesystem::path sharedMemory = "/dev/shm";
    if (!std::filesystem::is_directory(sharedMemory)) {
        GTEST_SKIP() << "/dev/shm not found: no second file system to move from";
    }
    TestFolder folder;
    const auto from = sharedMemory / ("brightfold-test-" + makeUpperCaseUUID() + ".usdz");
    std::ofstream(from) << "from another file system";
    const auto to = folder.path() / "model.usdz";
    moveFileAtomically(from, to);
    EXPECT_EQ(contentsOf(to), "from another file system");
    EXPECT_FALSE(std::filesystem::exists(from));
}

TEST(AtomicMove, FailureChangesNothing) {
    TestFolder folder;
    const auto from = folder.write("new.usdz", "new");
    std::filesystem::create_directories(folder.path() / "taken" / "model.usdz");
    const auto kept = folder.write("taken/model.usdz/kept", "kept");

    EXPECT_THROW(moveFileAtomically(from, folder.path() / "taken" / "model.usdz"),
                 std::filesystem::filesystem_error);
    EXPECT_THROW(moveFileAtomically(from, folder.path() / "absent" / "model.usdz"),
                 std::filesystem::filesystem_error);
    EXPECT_THROW(moveFileAtomically(folder.path() / "absent.usdz", folder.path() / "x.usdz"),
                 std::filesystem::filesystem_error);

    EXPECT_EQ(contentsOf(from), "new");
    EXPECT_EQ(contentsOf(kept), "kept");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path() / "taken"), {}), 1);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "x.usdz"));
}

} // namespace
