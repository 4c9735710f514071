// Every USD file of the corpus reads into a scene with as many meshes and triangles as
// OpenUSD itself composes from it.

#include "CorpusSupport.h"
#include "OracleRun.h"
#include "SceneReaderTestSupport.h"

#include <SceneGraph/GeometryElement.h>
#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <map>
#include <simdjson.h>

namespace usd::test {
namespace {

struct MeshTally {
    std::size_t meshes = 0; // meshes with at least one triangle
    std::size_t triangles = 0;
    friend bool operator==(const MeshTally&, const MeshTally&) = default;
};

void PrintTo(const MeshTally& tally, std::ostream* out) {
    *out << tally.meshes << " meshes, " << tally.triangles << " triangles";
}

// Files OpenUSD cannot judge, with the reason.
const std::map<std::string, std::string> kNotComparable{
    {"root_with_relocates.usdc", "crate 0.11.0, newer than the oracle's OpenUSD reads"},
};

MeshTally oracleTally(const std::string& report) {
    simdjson::dom::parser parser;
    MeshTally tally;
    for (simdjson::dom::object mesh :
         parser.parse(report)["engines"]["openusd"]["meshes"].get_array()) {
        simdjson::dom::object sizes;
        if (mesh["faceSizes"].get(sizes) != simdjson::SUCCESS) {
            continue;
        }
        std::size_t triangles = 0;
        for (auto [corners, faces] : sizes) {
            const std::size_t n = std::stoul(std::string(corners));
            triangles += n >= 3 ? (n - 2) * std::uint64_t(faces) : 0;
        }
        tally.meshes += triangles > 0 ? 1 : 0;
        tally.triangles += triangles;
    }
    return tally;
}

MeshTally ourTally(const scene::Scene& scene) {
    MeshTally tally;
    scene.rootNode()->enumerateHierarchy([&](const scene::Node& node) {
        const std::size_t triangles = node.geometry() ? triangleCount(*node.geometry()) : 0;
        tally.meshes += triangles > 0 ? 1 : 0;
        tally.triangles += triangles;
    });
    return tally;
}

class CorpusOracle : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(CorpusOracle, SameMeshesAndTrianglesAsOpenUsd) {
    const std::filesystem::path& file = GetParam();
    if (!std::filesystem::exists(oracleProgram())) {
        GTEST_SKIP() << "usd-oracle not found: " << oracleProgram();
    }
    if (const auto reason = kNotComparable.find(file.filename().string());
        reason != kNotComparable.end()) {
        GTEST_SKIP() << file.filename() << ": " << reason->second;
    }
    const OracleRun run = runOracle(file, OracleEngines::openUsdOnly);
    if (const auto missing = oracleUnavailable(run)) {
        GTEST_SKIP() << "usd-oracle cannot run here: " << *missing;
    }
    // Only OpenUSD's view counts here; the other engine may refuse what OpenUSD reads.
    simdjson::dom::parser parser;
    bool opened = false;
    ASSERT_EQ(parser.parse(run.report)["engines"]["openusd"]["ok"].get(opened), simdjson::SUCCESS)
        << run.complaint;
    ASSERT_TRUE(opened) << run.complaint;
    SceneReadNotes notes;
    const auto scene =
        file.extension() == ".usdz" ? readUSDZ(file, notes) : readUSDLayerFile(file, notes);
    EXPECT_EQ(ourTally(*scene), oracleTally(run.report)) << ::testing::PrintToString(notes);
}

std::string caseName(const ::testing::TestParamInfo<std::filesystem::path>& info) {
    std::string name = info.param.stem().string();
    std::ranges::replace_if(
        name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusOracle, ::testing::ValuesIn(corpusLayerFiles()), caseName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusOracle);

// Every corpus file reads or fails with a message, and the reader never crashes.
class CorpusRead : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(CorpusRead, ReadsOrExplains) {
    const std::filesystem::path& file = GetParam();
    try {
        const auto scene = file.extension() == ".usdz" ? readUSDZ(file) : readUSDLayerFile(file);
        EXPECT_NE(scene, nullptr);
    } catch (const SceneReadError& error) {
        EXPECT_STRNE(error.what(), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusRead, ::testing::ValuesIn(corpusLayerFiles()), caseName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusRead);

TEST(CorpusPresence, SharedFolderIsThere) {
    if (corpusLayerFiles().empty()) {
        GTEST_SKIP() << "../shared not found: " << BRIGHTFOLD_SHARED_DIR;
    }
}

} // namespace
} // namespace usd::test
