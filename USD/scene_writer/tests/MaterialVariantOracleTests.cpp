// Material variants as other USD software sees them: the set and its variants on the mesh, the
// default material bound when nothing is selected, and a variant's material once selected.

#include "OracleRun.h"
#include "SceneBuilding.h"

#include <USD/crate_writer/CrateWriter.h>
#include <USD/layer/LayerBuilder.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <simdjson.h>

namespace usd::test {
namespace {

const std::string mesh = "/Root/Shape";

std::filesystem::path oracleFolder() {
    const auto folder = std::filesystem::path(BRIGHTFOLD_BINARY_DIR) / "oracle";
    std::filesystem::create_directories(folder);
    return folder;
}

// The layer with the variant `selection` chosen, as a crate file beside the build.
std::filesystem::path layerFileSelecting(const std::string& selection) {
    SceneLayer built = buildSceneLayer(*materialVariantScene());
    LayerBuilder(built.layer).selectVariant(Path::fromString(mesh), "materialVariant", selection);
    const auto file = oracleFolder() / ("variants_" + selection + ".usdc");
    const std::vector<std::uint8_t> crate = writeCrate(built.layer);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(crate.data()),
               static_cast<std::streamsize>(crate.size()));
    return file;
}

std::string meshBinding(simdjson::dom::element report, const char* engine) {
    for (simdjson::dom::object entry : report["engines"][engine]["meshes"].get_array()) {
        std::string_view path;
        std::string_view binding;
        if (entry["path"].get(path) == simdjson::SUCCESS && path == mesh &&
            entry["materialBinding"].get(binding) == simdjson::SUCCESS)
            return std::string(binding);
    }
    return "none";
}

std::vector<std::string> variantsSeenBy(simdjson::dom::element report, const char* engine) {
    std::vector<std::string> names;
    for (simdjson::dom::object prim : report["engines"][engine]["prims"].get_array()) {
        std::string_view path;
        simdjson::dom::array variants;
        if (prim["path"].get(path) == simdjson::SUCCESS && path == mesh &&
            prim["variantSets"]["materialVariant"].get(variants) == simdjson::SUCCESS)
            for (const simdjson::dom::element name : variants)
                names.emplace_back(name.get_string().value());
    }
    std::ranges::sort(names); // the order it prints them in
    return names;
}

// The engine that reads the layer as written lists every variant's subset where OpenUSD shows
// the selected one only; those are the only facts on which the engines may disagree.
void expectOnlyVariantSubsetsDiffer(simdjson::dom::element report) {
    simdjson::dom::array differences;
    if (report["comparison"]["differences"].get(differences) != simdjson::SUCCESS)
        return;
    for (simdjson::dom::object difference : differences) {
        std::string_view where;
        EXPECT_EQ(difference["where"].get(where), simdjson::SUCCESS);
        EXPECT_TRUE(where.starts_with(mesh + "{materialVariant=") || where == mesh + "/variantLook")
            << simdjson::to_string(difference);
    }
}

// The subsets of the mesh as the engine composes them: path and bound material.
std::vector<std::string> subsetsSeenBy(simdjson::dom::element report, const char* engine) {
    std::vector<std::string> subsets;
    for (simdjson::dom::object entry : report["engines"][engine]["meshes"].get_array()) {
        simdjson::dom::array found;
        if (entry["geomSubsets"].get(found) != simdjson::SUCCESS)
            continue;
        for (simdjson::dom::object subset : found) {
            std::string_view path;
            std::string_view binding;
            EXPECT_EQ(subset["path"].get(path), simdjson::SUCCESS);
            EXPECT_EQ(subset["materialBinding"].get(binding), simdjson::SUCCESS);
            subsets.push_back(std::string(path) + " " + std::string(binding));
        }
    }
    return subsets;
}

} // namespace

TEST(MaterialVariantOracle, BothEnginesOpenTheVariantsAndOpenUsdComposesTheSelectedOne) {
    if (!std::filesystem::exists(oracleProgram()))
        GTEST_SKIP() << "usd-oracle not found: " << oracleProgram();
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"classic", {mesh + "/variantLook /Root/Materials/leather"}},
        {"Mint_Green_1", {mesh + "/variantLook /Root/Materials/canvas"}},
        {"", {}}};
    for (const auto& [selection, subsets] : cases) {
        SCOPED_TRACE(selection);
        const OracleRun run = runOracle(layerFileSelecting(selection));
        if (const auto missing = oracleUnavailable(run))
            GTEST_SKIP() << "usd-oracle cannot run here: " << *missing;
        constexpr int kEnginesDisagree = 3;
        ASSERT_TRUE(run.exitStatus == 0 || run.exitStatus == kEnginesDisagree) << run.complaint;
        simdjson::dom::parser parser;
        const simdjson::dom::element report = parser.parse(run.report);
        expectOnlyVariantSubsetsDiffer(report);
        // Both bind the default to the mesh; OpenUSD composes the selected variant's subset,
        // the other engine sees the set and its variants as written.
        EXPECT_EQ(meshBinding(report, "openusd"), "/Root/Materials/leather");
        EXPECT_EQ(meshBinding(report, "tinyusdz"), "/Root/Materials/leather");
        EXPECT_EQ(subsetsSeenBy(report, "openusd"), subsets);
        EXPECT_EQ(variantsSeenBy(report, "tinyusdz"),
                  (std::vector<std::string>{"Mint_Green", "Mint_Green_1", "classic"}));
    }
}

} // namespace usd::test
