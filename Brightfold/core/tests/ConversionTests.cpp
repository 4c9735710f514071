#include "WorkflowFixture.h"

#include <gmock/gmock.h>

using namespace brightfold;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

constexpr const char* loadFailurePrefix = "Failed to parse 3D data: \n";

TEST_F(WorkflowTest, GLTFConvertsThroughTheReaderAndPreviewsTheReadBackScene) {
    services->writerNotes = {"mesh \"Box\" has no normals"};
    workflow->startConversion(folder.write("model.glb", "source bytes"));
    EXPECT_EQ(stateCase<Converting>(workflow->state()).progress, 0.0f);
    finishConversions();

    const auto& preview = stateCase<Preview>(workflow->state());
    const auto expectedTemp = temporaryDirectory / "00000000-0000-4000-8000-000000000001.usdz";
    EXPECT_EQ(preview.tempURL, expectedTemp);
    EXPECT_EQ(preview.originalURL, folder.path() / "model.glb");
    EXPECT_EQ(preview.scene, services->readBackScene());
    EXPECT_EQ(services->clearedScene(), services->readBackScene());
    EXPECT_TRUE(std::filesystem::exists(expectedTemp));
    EXPECT_THAT(services->calls(),
                ElementsAre("reader", "write " + expectedTemp.filename().string(),
                            "read " + expectedTemp.filename().string()));
    EXPECT_TRUE(services->printedLines().empty());
    ASSERT_TRUE(workflow->lastConversion());
    EXPECT_THAT(workflow->lastConversion()->writerNotes,
                ElementsAre("mesh \"Box\" has no normals"));
}

TEST_F(WorkflowTest, APreviewOffersTheClipsAndChoosingOneConvertsAgainWithItAlone) {
    services->writtenClips = {{{0, "Survey"}, {1, "Walk"}, {2, ""}, {3, "Run"}, {4, "Run"}}, {0}};
    ConversionOptions options;
    options.profile = ConversionOptions::Profile::usd;
    workflow->setConversionOptions(options);
    const Preview first = convertToPreview("fox.glb");
    EXPECT_EQ(first.clips, services->writtenClips);

    // By name where it is the clip's own; by index where it has none or shares it.
    const std::pair<std::size_t, std::string> asked[] = {{1, "Walk"}, {2, "2"}, {4, "4"}};
    std::filesystem::path previous = first.tempURL;
    for (const auto& [clip, request] : asked) {
        services->writtenClips.played = {clip};
        workflow->convertWithClip(stateCase<Preview>(workflow->state()).clips.all[clip]);
        EXPECT_EQ(stateCase<Converting>(workflow->state()).progress, 0.0f);
        EXPECT_FALSE(std::filesystem::exists(previous)) << "the old package is discarded";
        finishConversions();
        const auto& again = stateCase<Preview>(workflow->state());
        EXPECT_EQ(again.originalURL, folder.path() / "fox.glb");
        EXPECT_EQ(services->lastWriteOptions().animation, request);
        EXPECT_EQ(services->lastWriteOptions().profile, ConversionOptions::Profile::usd);
        EXPECT_EQ(again.clips.played, std::vector<std::size_t>{clip});
        previous = again.tempURL;
    }
    EXPECT_EQ(workflow->conversionOptions().animation, "") << "the choice is this model's only";
    workflow->discardPreview(previous);
    workflow->convertWithClip({1, "Walk"});
    EXPECT_TRUE(std::holds_alternative<Idle>(workflow->state()));
}

TEST_F(WorkflowTest, ExtensionChoosesTheLoaderInAnyLetterCase) {
    convertToPreview("upper.GLTF");
    convertToPreview("mixed.Glb");
    convertToPreview("avatar.VRM");
    EXPECT_THAT(services->calls(), ElementsAre("reader", StartsWith("write"), StartsWith("read"),
                                               "reader", StartsWith("write"), StartsWith("read"),
                                               "reader", StartsWith("write"), StartsWith("read")));
}

TEST_F(WorkflowTest, UsdcAndUsdGoOnlyToTheImporter) {
    convertToPreview("scene.USDC");
    convertToPreview("layer.usd");
    EXPECT_THAT(services->calls(),
                ElementsAre("importer", StartsWith("write"), StartsWith("read"), "importer",
                            StartsWith("write"), StartsWith("read")));
    EXPECT_TRUE(services->printedLines().empty());
}

TEST_F(WorkflowTest, UnsupportedExtensionsFailWithTheInvalidFormatDescription) {
    for (const char* name : {"model.obj", "model.usda", "model", "model.glb.txt"}) {
        const auto& error = stateCase<Error>(convert(name));
        EXPECT_THAT(error.message, StartsWith(loadFailurePrefix)) << name;
        EXPECT_THAT(error.message, HasSubstr("InvalidFormat error 0")) << name;
        EXPECT_THAT(error.message, HasSubstr(name)) << name;
    }
    EXPECT_TRUE(services->calls().empty());
    EXPECT_EQ(temporaryFileCount(), 0u);
}

TEST_F(WorkflowTest, RefusedGLTFFallsBackToTheImporterAfterOneConsoleLine) {
    services->readerRefuses = true;
    convertToPreview("refused.gltf");
    EXPECT_THAT(services->printedLines(),
                ElementsAre("GLTFReader encountered an unsupported extension. Falling back to "
                            "native Model I/O."));
    EXPECT_THAT(services->calls(),
                ElementsAre("reader", "importer", StartsWith("write"), StartsWith("read")));
}

TEST_F(WorkflowTest, FailedFallbackIsAnErrorAndWritesNothing) {
    services->readerRefuses = true;
    services->importerError = "Unable to open file \"broken.glb\".";
    EXPECT_EQ(stateCase<Error>(convert("broken.glb")).message,
              std::string(loadFailurePrefix) + "Unable to open file \"broken.glb\".");

    services->importerError.reset();
    services->importedSceneHasGeometry = false;
    const auto& empty = stateCase<Error>(convert("empty.glb"));
    EXPECT_THAT(empty.message, StartsWith(loadFailurePrefix));
    EXPECT_THAT(empty.message, HasSubstr("No geometry could be read from \"empty.glb\""));
    EXPECT_THAT(empty.message, HasSubstr("The reader said: loadNode: nodes is not defined"));

    EXPECT_EQ(temporaryFileCount(), 0u);
    EXPECT_EQ(services->printedLines().size(), 2u);
}

TEST_F(WorkflowTest, FailingImportOfUsdcIsAnError) {
    services->importerError = "not a crate file";
    EXPECT_EQ(stateCase<Error>(convert("scene.usdc")).message,
              std::string(loadFailurePrefix) + "not a crate file");
}

TEST_F(WorkflowTest, WriteFailureKeepsThePartialFile) {
    services->writeSucceeds = false;
    EXPECT_EQ(stateCase<Error>(convert("model.glb")).message,
              "Export failed during temp compilation.");
    EXPECT_EQ(temporaryFileCount(), 1u);
    EXPECT_FALSE(workflow->lastConversion());
}

TEST_F(WorkflowTest, ReadBackFailureReportsTheReadersDescription) {
    services->readBackError = "zip entry is not aligned";
    EXPECT_EQ(stateCase<Error>(convert("model.glb")).message,
              std::string(loadFailurePrefix) + "zip entry is not aligned");
    EXPECT_EQ(temporaryFileCount(), 1u);
}

TEST_F(WorkflowTest, ProgressIsShownOnlyWhileConverting) {
    std::vector<float> shown;
    workflow = std::make_unique<ConversionWorkflow>(
        services, queue.poster(), [&shown](const AppState& state) {
            if (const auto* converting = std::get_if<Converting>(&state)) {
                shown.push_back(converting->progress);
            }
        });
    convertToPreview("model.glb");
    EXPECT_THAT(shown, ElementsAre(0.0f, 0.5f, 1.0f));

    services->keptProgressHandler()(0.25f);
    queue.drain();
    EXPECT_TRUE(std::holds_alternative<Preview>(workflow->state()));

    for (auto leave :
         {&ConversionWorkflow::resetToIdle, &ConversionWorkflow::reportExportFailure}) {
        ((*workflow).*leave)();
        workflow->updateProgress(0.75f);
        EXPECT_FALSE(std::holds_alternative<Converting>(workflow->state()));
    }
}

TEST_F(WorkflowTest, DestroyingTheWorkflowDropsNewsStillQueued) {
    int stateChanges = 0;
    workflow = std::make_unique<ConversionWorkflow>(services, queue.poster(),
                                                    [&](const AppState&) { ++stateChanges; });
    workflow->startConversion(folder.write("model.glb", "source bytes"));
    workflow.reset();
    queue.drain();
    EXPECT_EQ(stateChanges, 1);
}

} // namespace
