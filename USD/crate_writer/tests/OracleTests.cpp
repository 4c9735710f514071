// Our files, opened by two independent USD implementations: every package
// this test writes must open in both with no error and show the prims, types
// and mesh array lengths we wrote.

#include "CorpusSupport.h"
#include "OracleRun.h"
#include "SampleScene.h"

#include <USD/crate_writer/CrateWriter.h>
#include <USD/layer/FieldNames.h>
#include <USD/package/PackageWriter.h>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <simdjson.h>

namespace usd::test {
namespace {

struct ExpectedMesh {
    std::optional<std::uint64_t> points, faces, faceVertexIndices;
};

struct Expectation {
    std::map<std::string, std::string> primTypes; // "" for a prim without a type
    std::map<std::string, ExpectedMesh> meshes;
};

template <typename T> struct IsArray : std::false_type {};
template <typename T> struct IsArray<Array<T>> : std::true_type {};

std::optional<std::uint64_t> arrayLength(const Layer& layer, const Path& prim, const char* name) {
    const Spec* spec = layer.spec(prim.appendProperty(name));
    const Value* value = spec ? spec->field(field::kDefault) : nullptr;
    if (value == nullptr)
        return std::nullopt;
    return std::visit(
        []<typename T>(const T& held) -> std::optional<std::uint64_t> {
            if constexpr (IsArray<T>::value)
                return held.size();
            else
                return std::nullopt;
        },
        value->storage());
}

// Prims that exist on the composed stage: defined, as are all their ancestors.
bool isDefinedPrim(const Layer& layer, const Path& path) {
    for (Path p = path; !p.isAbsoluteRoot(); p = p.parent()) {
        const Spec* spec = layer.spec(p);
        const Value* specifier = spec ? spec->field(field::kSpecifier) : nullptr;
        if (p.isVariantSelectionPath() || !specifier || !specifier->holds<Specifier>() ||
            *specifier->get<Specifier>() != Specifier::Def)
            return false;
    }
    return true;
}

Expectation expectationFor(const Layer& layer) {
    Expectation expected;
    for (const auto& [path, spec] : layer.specs()) {
        if (spec.type != SpecType::Prim || !isDefinedPrim(layer, path))
            continue;
        const Value* typeName = spec.field(field::kTypeName);
        const std::string type =
            typeName && typeName->holds<Token>() ? typeName->get<Token>()->text : "";
        expected.primTypes[path.text()] = type;
        if (type == "Mesh")
            expected.meshes[path.text()] = {arrayLength(layer, path, "points"),
                                            arrayLength(layer, path, "faceVertexCounts"),
                                            arrayLength(layer, path, "faceVertexIndices")};
    }
    return expected;
}

void expectLength(simdjson::dom::object mesh, const char* key,
                  std::optional<std::uint64_t> wanted) {
    if (!wanted)
        return;
    std::uint64_t reported = 0;
    EXPECT_EQ(mesh[key].get(reported), simdjson::SUCCESS) << key << " not reported";
    EXPECT_EQ(reported, *wanted) << key;
}

void checkEngine(simdjson::dom::element report, const char* engine, const Expectation& expected) {
    SCOPED_TRACE(engine);
    std::map<std::string, std::string> seenTypes;
    for (simdjson::dom::object prim : report["engines"][engine]["prims"].get_array()) {
        std::string_view path, type;
        if (prim["type"].get(type) != simdjson::SUCCESS)
            type = ""; // null: a prim without a type
        if (prim["path"].get(path) == simdjson::SUCCESS)
            seenTypes[std::string(path)] = type;
    }
    for (const auto& [path, type] : expected.primTypes) {
        const auto seen = seenTypes.find(path);
        ASSERT_NE(seen, seenTypes.end()) << path << " is missing";
        EXPECT_EQ(seen->second, type) << path;
    }
    for (simdjson::dom::object mesh : report["engines"][engine]["meshes"].get_array()) {
        std::string_view path;
        if (mesh["path"].get(path) != simdjson::SUCCESS)
            continue;
        const auto wanted = expected.meshes.find(std::string(path));
        if (wanted == expected.meshes.end())
            continue;
        SCOPED_TRACE(wanted->first);
        expectLength(mesh, "points", wanted->second.points);
        expectLength(mesh, "faces", wanted->second.faces);
        expectLength(mesh, "faceVertexIndices", wanted->second.faceVertexIndices);
    }
}

// One package to write and check: a corpus file rewritten by us, or the
// sample scene.
struct OracleCase {
    std::string name;
    std::filesystem::path source; // empty for the sample scene
};

void PrintTo(const OracleCase& oracleCase, std::ostream* out) {
    *out << oracleCase.name;
}

std::vector<OracleCase> oracleCases() {
    std::vector<OracleCase> cases{{"SampleScene", {}}};
    for (const auto& file : corpusLayerFiles()) {
        std::string name = file.stem().string();
        std::ranges::replace_if(
            name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        cases.push_back({name, file});
    }
    return cases;
}

class UsdOracle : public ::testing::TestWithParam<OracleCase> {};

TEST_P(UsdOracle, OpensOurPackageAndSeesWhatWeWrote) {
    if (!std::filesystem::exists(oracleProgram()))
        GTEST_SKIP() << "usd-oracle not found: " << oracleProgram();
    const OracleCase& c = GetParam();
    const Layer layer = c.source.empty() ? sampleScene() : readLayerFile(c.source);
    std::vector<OwnedEntry> files{
        {c.source.empty() ? "SampleScene.usdc" : rootLayerName(c.source), writeCrate(layer)}};
    if (c.source.empty())
        files.push_back({"textures/albedo.png", samplePng()});
    else
        std::ranges::move(sideFiles(c.source, layer), std::back_inserter(files));
    // Relocates need crate 0.11, newer than either independent reader understands.
    const std::vector<std::uint8_t>& crate = files.front().bytes;
    if (crate.size() > 9 && (crate[8] > 0 || crate[9] > 9))
        GTEST_SKIP() << "written as crate " << int(crate[8]) << '.' << int(crate[9])
                     << ", which the oracles (up to 0.9) cannot read";
    std::vector<PackageEntry> entries;
    for (const OwnedEntry& file : files)
        entries.push_back({file.name, file.bytes});
    const auto folder = std::filesystem::path(BRIGHTFOLD_BINARY_DIR) / "oracle";
    std::filesystem::create_directories(folder);
    const auto package = folder / (c.name + ".usdz");
    writePackage(package, entries);

    const OracleRun run = runOracle(package);
    if (const auto missing = oracleUnavailable(run))
        GTEST_SKIP() << "usd-oracle cannot run here: " << *missing;
    // A complaint the original file earns as well is the oracle's, not ours (one engine
    // resolves textures from the package root, not from the root layer's folder).
    if (run.exitStatus == 3 && !c.source.empty())
        EXPECT_EQ(run.complaint, runOracle(c.source).complaint);
    else
        ASSERT_EQ(run.exitStatus, 0) << run.complaint;
    simdjson::dom::parser parser;
    const simdjson::dom::element report = parser.parse(run.report);
    const Expectation expected = expectationFor(layer);
    checkEngine(report, "openusd", expected);
    checkEngine(report, "tinyusdz", expected);
}

INSTANTIATE_TEST_SUITE_P(WrittenPackages, UsdOracle, ::testing::ValuesIn(oracleCases()),
                         [](const auto& info) { return info.param.name; });

} // namespace
} // namespace usd::test
