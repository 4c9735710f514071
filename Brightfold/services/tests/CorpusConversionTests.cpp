// Every glTF, GLB, VRM, .usdc and .usdz file of the shared corpus goes through the
// application's workflow with the real services. It either ends in the preview with a package
// that breaks none of AR Quick Look's rules and that both independent USD readers open, or in
// an error whose reason is known and named here.

#include "CorpusFiles.h"
#include "CorpusSupport.h"
#include "ManualMainQueue.h"
#include "OracleRun.h"
#include "SceneInspection.h"
#include "StaticCorpus.h"
#include "TestFolder.h"

#include <Brightfold/ConversionWorkflow.h>
#include <Brightfold/SceneServices.h>
#include <GLTFReader/GLTFSceneSource.h>
#include <algorithm>
#include <cctype>
#include <gmock/gmock.h>
#include <iostream>
#include <map>
#include <set>
#include <variant>

namespace {

namespace fs = std::filesystem;
using brightfold::AppState;

const fs::path& corpus = brightfold::testing::corpus;

// Files that cannot convert, each with the reason and a part of the message the user sees.
struct ExpectedFailure {
    std::string reason;
    std::string messagePart;
};

// Every corpus file converts now (documents without scenes load their root nodes); a file
// that cannot would be listed here.
const std::map<std::string, ExpectedFailure>& expectedFailures() {
    static const std::map<std::string, ExpectedFailure> failures;
    return failures;
}

// Draco- and meshopt-compressed files: our reader decodes them into real geometry.
const std::set<std::string> compressedMeshes = {
    "gltf/BoxDraco/BoxDraco.gltf", "gltf/BoxMeshopt/BoxMeshopt.gltf", "glb/DenseSphere.glb"};

// The corpus files the application accepts, as paths below the corpus folder.
std::vector<std::string> corpusModelNames() {
    if (brightfold::testing::corpusMissing()) {
        return {};
    }
    std::vector<std::string> names = brightfold::testing::corpusDocumentPaths();
    for (const fs::path& layer : usd::test::corpusLayerFiles()) {
        if (layer.extension() == ".usdc" || layer.extension() == ".usdz") {
            names.push_back(layer.lexically_relative(corpus).generic_string());
        }
    }
    return names;
}

std::string testNameFor(const testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    std::replace_if(
        name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c) == 0; }, '_');
    return name;
}

// One line per file, printed as one table when the whole corpus ran in one program.
class ResultTable : public testing::Environment {
  public:
    void add(const std::string& file, const std::string& outcome) {
        const std::string row = file + " -> " + outcome;
        std::cout << row << '\n';
        rows_.push_back(row);
    }
    void TearDown() override {
        if (rows_.size() > 1) {
            std::cout << "\nCorpus conversions (" << rows_.size() << " files):\n";
            for (const std::string& row : rows_) {
                std::cout << "  " << row << '\n';
            }
        }
    }

  private:
    std::vector<std::string> rows_;
};

ResultTable* const resultTable =
    static_cast<ResultTable*>(testing::AddGlobalTestEnvironment(new ResultTable));

std::string onOneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

class CorpusConversion : public testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        if (brightfold::testing::corpusMissing()) {
            GTEST_SKIP() << "../shared not found: " << corpus;
        }
    }

    // The application takes avatars by their container's extension, so they go in as a copy.
    fs::path acceptedInput() const {
        const fs::path file = corpus / GetParam();
        if (file.extension() != ".vrm") {
            return file;
        }
        const fs::path copy = scratch_.path() / file.filename().replace_extension(".glb");
        fs::copy_file(file, copy);
        return copy;
    }

    // Runs the workflow to its end, as the command-line converter does.
    const AppState& convert(const fs::path& file) {
        workflow_.startConversion(file);
        workflow_.waitForBackgroundWork();
        queue_.drain();
        return workflow_.state();
    }

    // The scene writer's oracle test already opens this package elsewhere, and checks more of
    // it: a static model that our glTF reader loads with geometry takes the same reader and
    // writer here. Each oracle run costs seconds, so it is not run twice.
    bool checkedByTheWriterOracle(const fs::path& file) const {
        static const std::set<fs::path> staticModels = [] {
            std::set<fs::path> files;
            for (const usd::test::CorpusModel& model : usd::test::staticCorpusModels())
                files.insert(model.file.lexically_normal());
            return files;
        }();
        if (!staticModels.contains(file.lexically_normal()))
            return false;
        try {
            const auto scene = GLTFSceneSource(file).sceneWithOptions();
            return scene && services_->hasGeometry(*scene);
        } catch (const std::exception&) {
            return false;
        }
    }

    void expectPackageOpensElsewhere(const fs::path& package) {
        if (!fs::exists(usd::test::oracleProgram())) {
            GTEST_SKIP() << "usd-oracle not found: " << usd::test::oracleProgram();
        }
        const usd::test::OracleRun run = usd::test::runOracle(package);
        if (const auto missing = usd::test::oracleUnavailable(run)) {
            GTEST_SKIP() << "usd-oracle cannot run here: " << *missing;
        }
        EXPECT_EQ(run.exitStatus, 0) << run.complaint << '\n' << run.report;
        resultTable->add(GetParam(), run.exitStatus == 0
                                         ? "converted"
                                         : "converted, but the oracle objects: " + run.complaint);
    }

    void expectRealGeometryThroughTheReader(const brightfold::Preview& preview) {
        EXPECT_NO_THROW(services_->loadWithGLTFReader(corpus / GetParam(), {}))
            << "the reader was expected to decode the compressed file";
        const glm::dvec3 size = vertexBounds(*preview.scene).size();
        EXPECT_TRUE(glm::all(glm::greaterThan(size, glm::dvec3(0.0))))
            << "bounds " << size.x << " x " << size.y << " x " << size.z;
    }

    TestFolder scratch_;
    std::shared_ptr<brightfold::ConversionServices> services_ = brightfold::makeSceneServices();
    ManualMainQueue queue_;
    brightfold::ConversionWorkflow workflow_{services_, queue_.poster()};
};

TEST_P(CorpusConversion, EndsInAPreviewThatOpensElsewhereOrInAKnownError) {
    const AppState& state = convert(acceptedInput());
    const auto expected = expectedFailures().find(GetParam());
    if (const auto* error = std::get_if<brightfold::Error>(&state)) {
        const bool known = expected != expectedFailures().end();
        resultTable->add(
            GetParam(), "failed: " + (known ? expected->second.reason : onOneLine(error->message)));
        ASSERT_TRUE(known) << "not a known failure";
        EXPECT_NE(error->message.find(expected->second.messagePart), std::string::npos)
            << error->message;
        return;
    }
    ASSERT_TRUE(expected == expectedFailures().end())
        << "expected to fail: " << expected->second.reason;
    const auto& preview = std::get<brightfold::Preview>(state);
    EXPECT_THAT(preview.verdict.broken, testing::IsEmpty());
    if (compressedMeshes.contains(GetParam())) {
        expectRealGeometryThroughTheReader(preview);
    }
    const fs::path package = preview.tempURL;
    if (checkedByTheWriterOracle(corpus / GetParam())) {
        resultTable->add(GetParam(), "converted (opened elsewhere by the writer's oracle test)");
    } else {
        expectPackageOpensElsewhere(package);
    }
    workflow_.discardPreview(package);
    EXPECT_FALSE(fs::exists(package));
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusConversion, testing::ValuesIn(corpusModelNames()),
                         testNameFor);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusConversion);

TEST(CorpusConversionSetUp, EveryNamedFileIsInTheCorpus) {
    if (brightfold::testing::corpusMissing()) {
        GTEST_SKIP() << "../shared not found: " << corpus;
    }
    const std::vector<std::string> names = corpusModelNames();
    for (const auto& [name, failure] : expectedFailures()) {
        EXPECT_NE(std::ranges::find(names, name), names.end()) << name;
    }
    for (const std::string& name : compressedMeshes) {
        EXPECT_NE(std::ranges::find(names, name), names.end()) << name;
    }
}

} // namespace
