#include "WorkflowFixture.h"

#include <cstring>
#include <gmock/gmock.h>

using namespace brightfold;

namespace {

DroppedItemProvider itemAnswering(DropData data, int* timesAsked = nullptr) {
    return [data, timesAsked](std::function<void(DropData)> completion) {
        if (timesAsked != nullptr) {
            ++*timesAsked;
        }
        completion(data);
    };
}

DropData bytesOf(const std::string& text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

TEST_F(WorkflowTest, SaveReplacesAnExistingFileBesideTheSource) {
    const auto existing = folder.write("model.usdz", "old conversion");
    const auto preview = convertToPreview("model.glb");

    workflow->saveConvertedFile(preview.tempURL, preview.originalURL);

    EXPECT_EQ(stateCase<Success>(workflow->state()).fileURL, existing);
    EXPECT_EQ(contentsOf(existing), "usdz");
    EXPECT_FALSE(std::filesystem::exists(preview.tempURL));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 3)
        << "only the source, the saved file and the tmp folder remain";
}

// Running as root, permission bits do not stop a write, so the unwritable destinations here
// are a folder that does not exist, a "folder" that is a file, and a folder in the way of
// the file name.
TEST_F(WorkflowTest, FailedSaveKeepsTheOldFileAndTheTemporaryFile) {
    const auto preview = convertToPreview("model.glb");
    const auto blockingFolder = folder.path() / "blocked" / "model.usdz";
    std::filesystem::create_directories(blockingFolder);
    const auto oldFile = folder.write("blocked/model.usdz/keep.txt", "user data");
    folder.write("plain-file", "not a folder");

    for (const auto& source :
         {folder.path() / "missing" / "model.glb", folder.path() / "plain-file" / "model.glb",
          folder.path() / "blocked" / "model.glb"}) {
        workflow->showPreview(preview.scene, preview.tempURL, source);
        workflow->saveConvertedFile(preview.tempURL, source);
        EXPECT_EQ(stateCase<Error>(workflow->state()).message,
                  "Could not save file to destination.")
            << source;
        EXPECT_EQ(contentsOf(preview.tempURL), "usdz");
    }
    EXPECT_EQ(contentsOf(oldFile), "user data");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path() / "blocked"), {}), 1)
        << "no staged copy is left beside the destination";
}

TEST_F(WorkflowTest, FailedSaveCanBeSavedElsewhereOrDropped) {
    const auto preview = convertToPreview("model.glb");
    const auto unwritable = folder.path() / "missing" / "model.usdz";
    workflow->saveConvertedFileAs(preview.tempURL, unwritable);
    const auto& error = stateCase<Error>(workflow->state());
    ASSERT_TRUE(error.unsaved);
    EXPECT_EQ(error.unsaved->tempURL, preview.tempURL);
    EXPECT_EQ(error.unsaved->intendedDestination, unwritable);

    const auto elsewhere = folder.path() / "elsewhere.usdz";
    workflow->saveConvertedFileAs(error.unsaved->tempURL, elsewhere);
    EXPECT_EQ(stateCase<Success>(workflow->state()).fileURL, elsewhere);
    EXPECT_EQ(contentsOf(elsewhere), "usdz");

    const auto abandoned = convertToPreview("other.glb").tempURL;
    workflow->saveConvertedFileAs(abandoned, unwritable);
    workflow->resetToIdle();
    EXPECT_FALSE(std::filesystem::exists(abandoned)) << "nothing refers to it any more";
}

TEST_F(WorkflowTest, DiscardDeletesTheTemporaryFileAndResetDeletesNothing) {
    const auto discarded = convertToPreview("first.glb").tempURL;
    workflow->discardPreview(discarded);
    EXPECT_TRUE(std::holds_alternative<Idle>(workflow->state()));
    EXPECT_FALSE(std::filesystem::exists(discarded));

    workflow->discardPreview(discarded);
    EXPECT_TRUE(std::holds_alternative<Idle>(workflow->state())) << "a missing file is no failure";

    const auto kept = convertToPreview("second.glb").tempURL;
    workflow->reportExportFailure();
    workflow->resetToIdle();
    EXPECT_TRUE(std::filesystem::exists(kept));
}

// Converting every item at once would leave the state to whichever finished last and the
// other packages unseen in the temporary directory.
TEST_F(WorkflowTest, DropOpensTheFirstResolvableItemAndNotesTheOthers) {
    const auto first = folder.write("first.glb", "source bytes");
    const auto second = folder.write("second name.usdc", "source bytes");
    const std::vector<DroppedItemProvider> items = {
        itemAnswering(std::nullopt),
        itemAnswering(bytesOf("file://" + first.string())),
        itemAnswering(DropData(std::vector<std::uint8_t>{0x66, 0xC0, 0xAF})),
        itemAnswering(bytesOf("not a url")),
        itemAnswering(bytesOf("https://example.com/model.glb")),
        itemAnswering(bytesOf("file://" + folder.path().string() + "/second%20name.usdc\r\n")),
    };

    EXPECT_TRUE(workflow->handleDroppedItems(items));
    EXPECT_TRUE(std::holds_alternative<Idle>(workflow->state())) << "starts from the main queue";
    finishConversions();

    const auto& preview = stateCase<Preview>(workflow->state());
    EXPECT_EQ(preview.originalURL, first);
    EXPECT_THAT(preview.notes,
                ::testing::Contains("Only \"first.glb\" was opened; 1 other file given with it "
                                    "was ignored."));
    EXPECT_THAT(services->calls(), ::testing::Not(::testing::Contains("importer")));
    EXPECT_EQ(temporaryFileCount(), 1u);
}

TEST_F(WorkflowTest, DropWhileConvertingIsIgnoredButAccepted) {
    workflow->startConversion(folder.write("model.glb", "source bytes"));
    int timesAsked = 0;
    EXPECT_TRUE(workflow->handleDroppedItems(
        {itemAnswering(bytesOf("file://" + folder.path().string() + "/other.glb"), &timesAsked)}));
    EXPECT_EQ(timesAsked, 0);
    finishConversions();
    EXPECT_EQ(stateCase<Preview>(workflow->state()).originalURL, folder.path() / "model.glb");
}

TEST_F(WorkflowTest, DropWhilePreviewingLeavesTheOldTemporaryFile) {
    const auto oldTemp = convertToPreview("first.glb").tempURL;
    const auto next = folder.write("next.glb", "source bytes");
    workflow->handleDroppedItems({itemAnswering(bytesOf("file://" + next.string()))});
    finishConversions();

    EXPECT_EQ(stateCase<Preview>(workflow->state()).originalURL, next);
    EXPECT_TRUE(std::filesystem::exists(oldTemp));
    EXPECT_EQ(temporaryFileCount(), 2u);
}

} // namespace
