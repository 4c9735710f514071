#include "CorpusSupport.h"

#include <USD/crate_reader/CrateReader.h>
#include <USD/crate_writer/CrateWriter.h>
#include <USD/usda/UsdaWriter.h>
#include <gtest/gtest.h>

namespace usd::test {
namespace {

// The first spec that differs, for a readable failure message.
std::string firstDifference(const Layer& expected, const Layer& actual) {
    for (const auto& [path, spec] : expected.specs()) {
        const Spec* other = actual.spec(path);
        if (other == nullptr)
            return "spec " + path.text() + " is missing";
        if (!(*other == spec))
            return "spec " + path.text() + " differs";
    }
    return "the written layer has extra specs";
}

TEST(CorpusRoundTrip, EveryReadableFileWritesBackToAnEqualLayerWithStableBytes) {
    const auto files = corpusLayerFiles();
    if (files.empty())
        GTEST_SKIP() << "../shared not found: " << corpusFolder("usd");
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        Layer original;
        try {
            original = readLayerFile(file);
        } catch (const std::exception& error) {
            ADD_FAILURE() << "a corpus file that should read failed: " << error.what();
            continue;
        }
        const std::vector<std::uint8_t> written = writeCrate(original);
        const Layer readBack = readCrate(written);
        EXPECT_TRUE(readBack == original) << firstDifference(original, readBack);
        EXPECT_EQ(toUsda(readBack), toUsda(original));
        EXPECT_EQ(writeCrate(readBack), written);
        Layer consumed = original;
        EXPECT_EQ(writeCrate(std::move(consumed)), written);
    }
}

TEST(CorpusRoundTrip, MalformedCrateFilesFailWithAMessage) {
    const auto malformed = corpusFolder("malformed");
    if (!std::filesystem::is_directory(malformed))
        GTEST_SKIP() << "../shared not found: " << malformed;
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(malformed)) {
        if (entry.path().extension() != ".usdc")
            continue;
        ++checked;
        try {
            readCrateFile(entry.path());
            ADD_FAILURE() << entry.path() << " was read";
        } catch (const FormatError& error) {
            EXPECT_NE(std::string(error.what()).find(entry.path().filename().string()),
                      std::string::npos)
                << error.what();
        }
    }
    EXPECT_GT(checked, 0);
}

} // namespace
} // namespace usd::test
