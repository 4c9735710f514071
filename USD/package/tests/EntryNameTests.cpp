#include "EntryName.h"

#include <gtest/gtest.h>

namespace usd {
namespace {

TEST(EntryName, AcceptsRelativeFolderPaths) {
    for (const char* name : {"scene.usdc", "textures/albedo.png", "a/b/c.d.jpg", "..hidden.png",
                             "name..with..dots.exr", "with space.png"})
        EXPECT_EQ(entryNameProblem(name), std::nullopt) << name;
}

TEST(EntryName, RefusesNamesThatLeaveThePackageOrConfuseTools) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "is empty"},
        {"/abs.png", "is an absolute path"},
        {"C:/x.png", "starts with a drive letter"},
        {"../up.png", "contains a '..' path component"},
        {"a/../../up.png", "contains a '..' path component"},
        {"a/..", "contains a '..' path component"},
        {"./here.png", "contains a '.' path component"},
        {"a//b.png", "has an empty path component"},
        {"folder/", "has an empty path component"},
        {"a\\..\\b.png", "contains a backslash"},
        {std::string("a\0b.png", 7), "contains control characters"},
        {"line\nbreak.png", "contains control characters"},
    };
    for (const auto& [name, problem] : cases)
        EXPECT_EQ(entryNameProblem(name), problem) << quotedEntryName(name);
}

TEST(EntryName, QuotesNamesSafelyForMessages) {
    EXPECT_EQ(quotedEntryName("a.png"), "'a.png'");
    EXPECT_EQ(quotedEntryName("bad\x1b[2Jname"), "'bad\\x1B[2Jname'");
}

TEST(EntryName, RecognisesLayerFiles) {
    EXPECT_TRUE(isLayerFileName("scene.usdc"));
    EXPECT_TRUE(isLayerFileName("dir/scene.usda"));
    EXPECT_TRUE(isLayerFileName("scene.usd"));
    EXPECT_FALSE(isLayerFileName("scene.usdz"));
    EXPECT_FALSE(isLayerFileName("usdc"));
    EXPECT_FALSE(isLayerFileName("texture.png"));
}

} // namespace
} // namespace usd
