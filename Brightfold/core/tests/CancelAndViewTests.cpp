#include "WorkflowFixture.h"

#include <Brightfold/RunFolder.h>
#include <condition_variable>
#include <future>
#include <gmock/gmock.h>
#include <mutex>
#include <unistd.h>

using namespace brightfold;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

// Holds the fake writer until the conversion is asked to stop.
void writeUntilStopped(std::stop_token stop, std::promise<void>& writing) {
    writing.set_value();
    std::mutex mutex;
    std::condition_variable_any never;
    std::unique_lock lock(mutex);
    never.wait(lock, stop, [] { return false; });
}

TEST_F(WorkflowTest, CancelWhileWritingStopsAndLeavesNoTemporaryFile) {
    std::promise<void> writing;
    services->duringWrite = [&](std::stop_token stop) { writeUntilStopped(stop, writing); };
    workflow->startConversion(folder.write("model.glb", "source bytes"));
    writing.get_future().wait();

    workflow->cancel();
    EXPECT_TRUE(std::holds_alternative<Idle>(workflow->state())) << "idle at once";
    finishConversions();
    EXPECT_TRUE(std::holds_alternative<Idle>(workflow->state())) << "nothing reported later";
    EXPECT_EQ(temporaryFileCount(), 0u);
    EXPECT_THAT(services->calls(), ElementsAre("reader", StartsWith("write")))
        << "no read-back after the stop";
}

TEST_F(WorkflowTest, CancelAfterTheWorkEndedStillDropsItsQueuedResult) {
    workflow->startConversion(folder.write("model.glb", "source bytes"));
    workflow->waitForBackgroundWork(); // the preview waits in the main queue
    workflow->cancel();
    queue.drain();
    EXPECT_TRUE(std::holds_alternative<Idle>(workflow->state()));
    EXPECT_EQ(temporaryFileCount(), 0u) << "the finished package is deleted";

    workflow->cancel();
    EXPECT_TRUE(std::holds_alternative<Idle>(workflow->state())) << "nothing to cancel";
    const auto preview = convertToPreview("next.glb");
    workflow->cancel();
    EXPECT_EQ(stateCase<Preview>(workflow->state()).tempURL, preview.tempURL)
        << "a shown preview is not cancelled";
}

TEST_F(WorkflowTest, DestroyingTheWorkflowStopsItsConversions) {
    std::promise<void> writing;
    services->duringWrite = [&](std::stop_token stop) { writeUntilStopped(stop, writing); };
    workflow->startConversion(folder.write("model.glb", "source bytes"));
    writing.get_future().wait();
    workflow.reset(); // would wait forever if the stop were not requested
    EXPECT_EQ(temporaryFileCount(), 0u);
}

TEST_F(WorkflowTest, PreviewNotesSayHowTheSourceWasReadAndWhatWasLost) {
    services->readerRefuses = true;
    services->writerNotes = {"skinning left out"};
    services->readWarnings = {"an unsupported prim type was skipped"};
    const auto& preview = convertToPreview("refused.glb");
    ASSERT_EQ(preview.notes.size(), 3u);
    EXPECT_THAT(preview.notes[0], StartsWith("The glTF reader refused this file"));
    EXPECT_THAT(preview.notes[0], HasSubstr("loadNode: nodes is not defined"));
    EXPECT_EQ(preview.notes[1], "skinning left out");
    EXPECT_EQ(preview.notes[2], "an unsupported prim type was skipped");
    EXPECT_THAT(workflow->lastConversion()->writerNotes, ElementsAre("skinning left out"));
}

TEST_F(WorkflowTest, PackageIsNamedAfterTheSourceNotTheTemporaryFile) {
    convertToPreview("My Model (1).glb");
    EXPECT_EQ(services->lastPackageName(), "My Model (1)");
}

TEST_F(WorkflowTest, PackagesAreViewedWithoutConvertingOrWriting) {
    const auto package = folder.write("Shown.USDZ", "usdz");
    services->readWarnings = {"a texture is missing"};
    workflow->openFiles({package, folder.write("ignored.glb", "source bytes")});
    EXPECT_TRUE(std::holds_alternative<Converting>(workflow->state()));
    finishConversions();

    const auto& viewing = stateCase<Viewing>(workflow->state());
    EXPECT_EQ(viewing.fileURL, package);
    EXPECT_EQ(viewing.scene, services->readBackScene());
    EXPECT_EQ(services->clearedScene(), services->readBackScene());
    EXPECT_THAT(viewing.notes, ElementsAre(HasSubstr("1 other file"), "a texture is missing"));
    EXPECT_THAT(services->calls(), ElementsAre("read Shown.USDZ"));
    EXPECT_EQ(temporaryFileCount(), 0u);

    workflow->openFiles({folder.write("layer.usdc", "crate")}, OpenMode::View);
    finishConversions();
    EXPECT_EQ(stateCase<Viewing>(workflow->state()).fileURL, folder.path() / "layer.usdc");
    EXPECT_THAT(services->calls(), ElementsAre("read Shown.USDZ", "read layer.usdc"));

    services->readBackError = "not a zip archive";
    workflow->openFiles({package});
    finishConversions();
    EXPECT_EQ(stateCase<Error>(workflow->state()).message,
              "Failed to parse 3D data: \nnot a zip archive");
}

// A process id above any the kernel hands out names a run that surely ended.
constexpr const char* endedRun = "run-2000000000";

TEST(RunFolder, RemovesLeftoversOfEndedRunsAndItselfAtTheEnd) {
    TestFolder parent;
    const auto userFolder = parent.path() / ("brightfold-" + std::to_string(::getuid()));
    std::filesystem::create_directories(userFolder / endedRun);
    parent.write(userFolder.filename().string() + "/" + endedRun + "/stale.usdz", "old");
    const auto live = userFolder / ("run-" + std::to_string(::getppid()));
    std::filesystem::create_directories(live);
    const auto unrelated = userFolder / "notes";
    std::filesystem::create_directories(unrelated);

    std::filesystem::path own;
    {
        RunFolder run(parent.path());
        own = run.path();
        EXPECT_EQ(own, userFolder / ("run-" + std::to_string(::getpid())));
        EXPECT_TRUE(std::filesystem::is_directory(own));
        EXPECT_FALSE(std::filesystem::exists(userFolder / endedRun));
        EXPECT_TRUE(std::filesystem::exists(live)) << "another running instance keeps its own";
        EXPECT_TRUE(std::filesystem::exists(unrelated));
        parent.write(own.lexically_relative(parent.path()).string() + "/preview.usdz", "usdz");
    }
    EXPECT_FALSE(std::filesystem::exists(own));
}

TEST(RunFolder, RefusesAUserFolderThatIsALink) {
    TestFolder parent;
    std::filesystem::create_directories(parent.path() / "elsewhere");
    std::filesystem::create_directory_symlink(
        parent.path() / "elsewhere", parent.path() / ("brightfold-" + std::to_string(::getuid())));
    EXPECT_THROW(RunFolder{parent.path()}, std::filesystem::filesystem_error);
}

} // namespace
