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
#include <stop_token>
#include <string>
#include <vector>

namespace brightfold {

// What is known about the conversion whose preview was shown last.
struct ConversionRecord {
    std::filesystem::path source;
    std::filesystem::path temporaryFile;
    std::vector<std::string> writerNotes;
    PackageVerdict verdict;
};

// How a file given to the application is opened.
enum class OpenMode {
    // .usdz packages are shown as they are; every other file is converted.
    ByExtension,
    // Any USD file the package reader reads is shown as it is, nothing converted.
    View,
};

// The application's state machine. Every public operation runs on the main thread (the one
// that drains the poster's queue); conversions run on worker threads and report back only
// by posting to it. Destroying the workflow asks running conversions to stop and waits for
// them to end; news they post afterwards is dropped.
class ConversionWorkflow {
  public:
    using StateObserver = std::function<void(const AppState&)>;

    ConversionWorkflow(std::shared_ptr<ConversionServices> services, MainQueuePoster postToMain,
                       StateObserver onStateChanged = {});
    ~ConversionWorkflow();
    ConversionWorkflow(const ConversionWorkflow&) = delete;
    ConversionWorkflow& operator=(const ConversionWorkflow&) = delete;

    const AppState& state() const { return state_; }
    // How the conversions started from now on write their packages.
    void setConversionOptions(ConversionOptions options) { options_ = std::move(options); }
    const ConversionOptions& conversionOptions() const { return options_; }
    const std::optional<ConversionRecord>& lastConversion() const { return lastConversion_; }

    // Opens the first file (see OpenMode); the others are ignored, and a note on the
    // result says so. Nothing happens for an empty list.
    void openFiles(const std::vector<std::filesystem::path>& files,
                   OpenMode mode = OpenMode::ByExtension);
    // Shows progress 0 and converts the file in the background. Not refused while another
    // conversion runs: the state then follows whichever reports last. The extra notes join
    // the conversion's own on the preview.
    void startConversion(const std::filesystem::path& file,
                         std::vector<std::string> extraNotes = {});
    // Shows progress 0, then the file read as it is, or an error.
    void startViewing(const std::filesystem::path& file, std::vector<std::string> extraNotes = {});
    // While converting or reading a file to view: stops that work (it ends within moments,
    // leaving no temporary file) and returns to idle at once. Otherwise does nothing.
    void cancel();
    // Takes effect only while converting, so a late report cannot hide a finished result.
    void updateProgress(float progress);
    void showPreview(SceneHandle scene, const std::filesystem::path& tempURL,
                     const std::filesystem::path& originalURL, std::vector<std::string> notes = {},
                     PackageVerdict verdict = {}, AnimationClips clips = {});
    // While a preview shows: discards its package and converts its source again, the package
    // then playing only `clip` (one of the preview's clips). Does nothing otherwise.
    void convertWithClip(const SourceClip& clip);
    void reportLoadFailure(const std::string& description);
    void reportExportFailure();
    // Moves the temporary file beside the source as <base name>.usdz (<base name>-ar.usdz for a
    // package made AR-ready), replacing any file there. On failure the old file and the temporary
    // file are both left as they were, and the error keeps the temporary file so that it can be
    // saved elsewhere.
    void saveConvertedFile(const std::filesystem::path& tempURL,
                           const std::filesystem::path& originalURL);
    // The same save to a destination the caller chose (the command line's -o).
    void saveConvertedFileAs(const std::filesystem::path& tempURL,
                             const std::filesystem::path& destination);
    void discardPreview(const std::filesystem::path& tempURL);
    // Also deletes a package that could not be saved: nothing refers to it any more.
    void resetToIdle();
    // Once every item has answered, the first that names a local file is opened as by
    // openFiles and the other named files are ignored with a note; items without a file are
    // skipped. Ignored while converting. Always reports the drop as accepted.
    bool handleDroppedItems(const std::vector<DroppedItemProvider>& items);

    // Blocks until every conversion started so far has finished its background work (their
    // results may still be waiting in the main queue). For the command line and tests.
    void waitForBackgroundWork();
    // Whether some conversion's background work has not yet ended (a cancelled one included).
    bool hasBackgroundWork() const { return conversions_.anyRunning(); }

  private:
    class PostingListener;
    using Step = std::function<void(ConversionWorkflow&)>;
    std::function<void(Step)> makeStepPoster();
    void setState(AppState state);
    void convertInBackground(const std::filesystem::path& file, std::vector<std::string> extraNotes,
                             ConversionOptions options);
    void startInBackground(std::function<void(std::stop_token)> work);

    std::shared_ptr<ConversionServices> services_;
    MainQueuePoster postToMain_;
    StateObserver onStateChanged_;
    AppState state_ = Idle{};
    std::optional<ConversionRecord> lastConversion_;
    ConversionOptions options_;
    // Posted steps hold a weak reference and run only while this is alive.
    std::shared_ptr<int> aliveToken_ = std::make_shared<int>(0);
    // Stops every conversion started since the last cancel; replaced by a fresh one then.
    std::stop_source stopSource_;
    BackgroundTasks conversions_;
};

} // namespace brightfold
