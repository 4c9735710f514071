#pragma once

#include <Brightfold/AppState.h>
#include <Brightfold/BackgroundTasks.h>
#include <Brightfold/ConversionServices.h>
#include <Brightfold/DroppedItem.h>
#include <Brightfold/MainQueue.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace brightfold {

// What is known about the conversion whose preview was shown last.
struct ConversionRecord {
    std::filesystem::path source;
    std::filesystem::path temporaryFile;
    std::vector<std::string> writerFindings;
};

// The application's state machine. Every public operation runs on the main thread (the one
// that drains the poster's queue); conversions run on worker threads and report back only
// by posting to it. Destroying the workflow waits for running conversions to end; news
// they post afterwards is dropped.
class ConversionWorkflow {
  public:
    using StateObserver = std::function<void(const AppState&)>;

    ConversionWorkflow(std::shared_ptr<ConversionServices> services, MainQueuePoster postToMain,
                       StateObserver onStateChanged = {});
    ~ConversionWorkflow();
    ConversionWorkflow(const ConversionWorkflow&) = delete;
    ConversionWorkflow& operator=(const ConversionWorkflow&) = delete;

    const AppState& state() const { return state_; }
    const std::optional<ConversionRecord>& lastConversion() const { return lastConversion_; }

    // Shows progress 0 and converts the file in the background. Not refused while another
    // conversion runs: the state then follows whichever reports last.
    void startConversion(const std::filesystem::path& file);
    // Takes effect only while converting, so a late report cannot hide a finished result.
    void updateProgress(float progress);
    void showPreview(SceneHandle scene, const std::filesystem::path& tempURL,
                     const std::filesystem::path& originalURL);
    void reportLoadFailure(const std::string& description);
    void reportExportFailure();
    // Moves the temporary file beside the source as <base name>.usdz, replacing any file
    // there. On failure the old file and the temporary file are both left as they were.
    void saveConvertedFile(const std::filesystem::path& tempURL,
                           const std::filesystem::path& originalURL);
    // The same save to a destination the caller chose (the command line's -o).
    void saveConvertedFileAs(const std::filesystem::path& tempURL,
                             const std::filesystem::path& destination);
    void discardPreview(const std::filesystem::path& tempURL);
    void resetToIdle();
    // Each item that names a local file starts a conversion; the rest are skipped. Ignored
    // while converting. Always reports the drop as accepted.
    bool handleDroppedItems(const std::vector<DroppedItemProvider>& items);

    // Blocks until every conversion started so far has finished its background work (their
    // results may still be waiting in the main queue). For the command line and tests.
    void waitForBackgroundWork();

  private:
    class PostingListener;
    using Step = std::function<void(ConversionWorkflow&)>;
    std::function<void(Step)> makeStepPoster();
    void setState(AppState state);

    std::shared_ptr<ConversionServices> services_;
    MainQueuePoster postToMain_;
    StateObserver onStateChanged_;
    AppState state_ = Idle{};
    std::optional<ConversionRecord> lastConversion_;
    // Posted steps hold a weak reference and run only while this is alive.
    std::shared_ptr<int> aliveToken_ = std::make_shared<int>(0);
    BackgroundTasks conversions_;
};

} // namespace brightfold
