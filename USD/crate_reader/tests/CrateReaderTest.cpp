#include "MinimalCrateFile.h"

#include <USD/crate_reader/CrateReader.h>
#include <USD/layer/FieldNames.h>
#include <USD/layer/LayerBuilder.h>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace usd;
using testing::HasSubstr;

namespace {

std::string readError(const std::vector<std::uint8_t>& bytes) {
    try {
        readCrate(bytes);
    } catch (const FormatError& error) {
        return error.what();
    }
    return "no error";
}

} // namespace

TEST(CrateReader, ReadsTheMinimalFileToTheLayerItDescribes) {
    Layer expected;
    LayerBuilder builder(expected);
    builder.setLayerMetadata(field::kDefaultPrim, Token{"Root"});
    builder.setLayerMetadata(field::kMetersPerUnit, 1.0);
    builder.setLayerMetadata(field::kUpAxis, Token{"Y"});
    builder.definePrim(Path::fromString("/Root"), "Xform");

    CrateReadWarnings warnings;
    const auto bytes = minimalCrateFile();
    EXPECT_EQ(readCrate(bytes, &warnings), expected);
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(readCrate(std::as_bytes(std::span(bytes))), expected);
}

TEST(CrateReader, RefusesNewerVersionsNamingThem) {
    auto bytes = minimalCrateFile();
    bytes[kMinimalVersionMinorOffset] = 12;
    EXPECT_EQ(readError(bytes), "crate version 0.12.0 is newer than this reader supports (0.11.0)");
    bytes[kMinimalVersionMinorOffset - 1] = 1;
    bytes[kMinimalVersionMinorOffset] = 0;
    EXPECT_EQ(readError(bytes), "crate version 1.0.0 is newer than this reader supports (0.11.0)");
    // The patch number never changes the layout.
    bytes = minimalCrateFile();
    bytes[kMinimalVersionMinorOffset] = 11;
    bytes[kMinimalVersionMinorOffset + 1] = 3;
    EXPECT_EQ(readError(bytes), "no error");
}

TEST(CrateReader, NamesWhatIsWrongWithTheHeaderAndTableOfContents) {
    auto bytes = minimalCrateFile();
    EXPECT_THAT(readError({bytes.begin(), bytes.begin() + 40}), HasSubstr("shorter than the 88"));

    auto wrongMagic = bytes;
    wrongMagic[0] = 'Q';
    EXPECT_THAT(readError(wrongMagic), HasSubstr("PXR-USDC signature is missing"));

    EXPECT_THAT(readError({bytes.begin(), bytes.begin() + 400}),
                HasSubstr("table of contents offset 450 lies outside the file (400 bytes)"));

    auto noTokens = bytes;
    noTokens[kMinimalTokensRecordOffset] = 'X';
    EXPECT_EQ(readError(noTokens), "crate file has no TOKENS section");
}

TEST(CrateReader, EveryTruncationAndByteCorruptionFailsCleanly) {
    const auto bytes = minimalCrateFile();
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        EXPECT_THROW(readCrate(std::span(bytes).first(size)), FormatError) << size;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        for (const std::uint8_t replacement : {0x00, 0x7F, 0xFF}) {
            auto corrupt = bytes;
            corrupt[i] = replacement;
            try {
                readCrate(corrupt);
            } catch (const FormatError&) {
            }
        }
    }
}

// Files are mapped rather than read; what comes out must not depend on it, and what cannot be
// mapped (a folder, an empty file) is refused in words.
TEST(CrateReader, ReadsFilesLikeBytesAndRefusesFoldersAndEmptyFiles) {
    const auto folder = std::filesystem::path(testing::TempDir()) / "crate-reader-file-test";
    std::filesystem::create_directories(folder);
    const auto bytes = minimalCrateFile();
    const auto crate = folder / "minimal.usdc";
    std::ofstream(crate, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    EXPECT_EQ(readCrateFile(crate), readCrate(bytes));

    const auto fileError = [](const std::filesystem::path& file) -> std::string {
        try {
            readCrateFile(file);
        } catch (const FormatError& error) {
            return error.what();
        }
        return "no error";
    };
    EXPECT_EQ(fileError(folder), folder.string() + ": cannot open: not a regular file");
    const auto empty = folder / "empty.usdc";
    std::ofstream{empty};
    EXPECT_THAT(fileError(empty), HasSubstr(empty.string() + ": not a crate file"));
    std::filesystem::remove_all(folder);
}

TEST(CrateReader, ReadFileNamesTheFileInErrors) {
    try {
        readCrateFile("/nonexistent/model.usdc");
        FAIL() << "no error";
    } catch (const FormatError& error) {
        EXPECT_THAT(error.what(), HasSubstr("/nonexistent/model.usdc: cannot open"));
    }
}
