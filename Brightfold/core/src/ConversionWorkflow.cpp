#include <Brightfold/ConversionPipeline.h>
#include <Brightfold/ConversionWorkflow.h>
#include <Brightfold/SaveDestination.h>
#include <Brightfold/SourceSceneLoader.h>
#include <mutex>
#include <utility>

namespace brightfold {
namespace {

std::string ignoredFilesNote(const std::filesystem::path& opened, std::size_t ignored) {
    return "Only \"" + opened.filename().string() + "\" was opened; " + std::to_string(ignored) +
           (ignored == 1 ? " other file" : " other files") + " given with it " +
           (ignored == 1 ? "was" : "were") + " ignored.";
}

// The answers of a multi-item drop, gathered from whatever threads they arrive on, so that
// the first item in the drop's order wins however the answers are timed.
class DropAnswers {
  public:
    DropAnswers(std::size_t count, std::function<void(std::vector<std::filesystem::path>)> done)
        : files_(count), remaining_(count), done_(std::move(done)) {}

    void answer(std::size_t index, std::optional<std::filesystem::path> file) {
        std::vector<std::filesystem::path> named;
        {
            std::lock_guard lock(mutex_);
            files_[index] = std::move(file);
            if (--remaining_ > 0) {
                return;
            }
            for (auto& each : files_) {
                if (each) {
                    named.push_back(std::move(*each));
                }
            }
        }
        done_(std::move(named));
    }

  private:
    std::mutex mutex_;
    std::vector<std::optional<std::filesystem::path>> files_;
    std::size_t remaining_;
    std::function<void(std::vector<std::filesystem::path>)> done_;
};

} // namespace

// Turns what a background conversion hears into steps run later on the main thread. News
// of a conversion that was asked to stop is dropped there, and a package it still
// finished is deleted.
class ConversionWorkflow::PostingListener : public PipelineListener, public ViewListener {
  public:
    PostingListener(std::function<void(Step)> post, std::filesystem::path source,
                    std::vector<std::string> extraNotes, std::stop_token stop)
        : post_(std::move(post)), source_(std::move(source)), extraNotes_(std::move(extraNotes)),
          stop_(std::move(stop)) {}

    void progressed(float progress) override {
        postUnlessStopped(
            [progress](ConversionWorkflow& workflow) { workflow.updateProgress(progress); });
    }
    void loadFailed(std::string description) override {
        postUnlessStopped([description = std::move(description)](ConversionWorkflow& workflow) {
            workflow.reportLoadFailure(description);
        });
    }
    void exportFailed() override {
        postUnlessStopped([](ConversionWorkflow& workflow) { workflow.reportExportFailure(); });
    }
    void previewReady(SceneHandle scene, ConvertedPackage package) override {
        ConversionRecord record{source_, package.tempURL, std::move(package.writerNotes),
                                package.verdict};
        std::vector<std::string> notes = extraNotes_;
        notes.insert(notes.end(), package.notes.begin(), package.notes.end());
        post_([scene = std::move(scene), record = std::move(record), notes = std::move(notes),
               clips = std::move(package.clips), stop = stop_](ConversionWorkflow& workflow) {
            if (stop.stop_requested()) {
                workflow.services_->removeFileQuietly(record.temporaryFile);
                return;
            }
            workflow.lastConversion_ = record;
            workflow.showPreview(scene, record.temporaryFile, record.source, notes, record.verdict,
                                 clips);
        });
    }
    void viewReady(SceneHandle scene, std::vector<std::string> readNotes,
                   PackageVerdict verdict) override {
        std::vector<std::string> notes = extraNotes_;
        notes.insert(notes.end(), readNotes.begin(), readNotes.end());
        postUnlessStopped([scene = std::move(scene), file = source_, notes = std::move(notes),
                           verdict = std::move(verdict)](ConversionWorkflow& workflow) {
            workflow.setState(Viewing{scene, file, notes, verdict});
        });
    }

  private:
    void postUnlessStopped(Step step) {
        post_([step = std::move(step), stop = stop_](ConversionWorkflow& workflow) {
            if (!stop.stop_requested()) {
                step(workflow);
            }
        });
    }

    std::function<void(Step)> post_;
    std::filesystem::path source_;
    std::vector<std::string> extraNotes_;
    std::stop_token stop_;
};

ConversionWorkflow::ConversionWorkflow(std::shared_ptr<ConversionServices> services,
                                       MainQueuePoster postToMain, StateObserver onStateChanged)
    : services_(std::move(services)), postToMain_(std::move(postToMain)),
      onStateChanged_(std::move(onStateChanged)) {}

ConversionWorkflow::~ConversionWorkflow() {
    stopSource_.request_stop();
    conversions_.waitForAll();
}

void ConversionWorkflow::openFiles(const std::vector<std::filesystem::path>& files, OpenMode mode) {
    if (files.empty()) {
        return;
    }
    const std::filesystem::path& file = files.front();
    std::vector<std::string> notes;
    if (files.size() > 1) {
        notes.push_back(ignoredFilesNote(file, files.size() - 1));
    }
    if (mode == OpenMode::View || lowerCasedExtension(file) == "usdz") {
        startViewing(file, std::move(notes));
    } else {
        startConversion(file, std::move(notes));
    }
}

void ConversionWorkflow::startConversion(const std::filesystem::path& file,
                                         std::vector<std::string> extraNotes) {
    convertInBackground(file, std::move(extraNotes), options_);
}

void ConversionWorkflow::convertWithClip(const SourceClip& clip) {
    const auto* preview = std::get_if<Preview>(&state_);
    if (preview == nullptr) {
        return;
    }
    ConversionOptions options = options_;
    options.animation = clipRequest(preview->clips, clip);
    const std::filesystem::path source = preview->originalURL;
    services_->removeFileQuietly(preview->tempURL);
    convertInBackground(source, {}, std::move(options));
}

void ConversionWorkflow::convertInBackground(const std::filesystem::path& file,
                                             std::vector<std::string> extraNotes,
                                             ConversionOptions options) {
    setState(Converting{0.0f});
    startInBackground([services = services_, file, post = makeStepPoster(),
                       notes = std::move(extraNotes),
                       options = std::move(options)](std::stop_token stop) {
        auto listener = std::make_shared<PostingListener>(post, file, notes, stop);
        runConversion(file, *services, listener, options, stop);
    });
}

void ConversionWorkflow::startViewing(const std::filesystem::path& file,
                                      std::vector<std::string> extraNotes) {
    setState(Converting{0.0f});
    startInBackground([services = services_, file, post = makeStepPoster(),
                       notes = std::move(extraNotes)](std::stop_token stop) {
        PostingListener listener(post, file, notes, stop);
        runViewing(file, *services, listener, stop);
    });
}

void ConversionWorkflow::startInBackground(std::function<void(std::stop_token)> work) {
    conversions_.start([work = std::move(work), stop = stopSource_.get_token()] { work(stop); });
}

void ConversionWorkflow::cancel() {
    if (std::holds_alternative<Converting>(state_)) {
        stopSource_.request_stop();
        stopSource_ = std::stop_source();
        setState(Idle{});
    }
}

void ConversionWorkflow::updateProgress(float progress) {
    if (std::holds_alternative<Converting>(state_)) {
        setState(Converting{progress});
    }
}

void ConversionWorkflow::showPreview(SceneHandle scene, const std::filesystem::path& tempURL,
                                     const std::filesystem::path& originalURL,
                                     std::vector<std::string> notes, PackageVerdict verdict,
                                     AnimationClips clips) {
    setState(Preview{std::move(scene), tempURL, originalURL, std::move(notes), std::move(verdict),
                     std::move(clips)});
}

void ConversionWorkflow::reportLoadFailure(const std::string& description) {
    setState(Error{"Failed to parse 3D data: \n" + description});
}

void ConversionWorkflow::reportExportFailure() {
    setState(Error{"Export failed during temp compilation."});
}

void ConversionWorkflow::saveConvertedFile(const std::filesystem::path& tempURL,
                                           const std::filesystem::path& originalURL) {
    saveConvertedFileAs(tempURL, usdzDestinationFor(originalURL));
}

void ConversionWorkflow::saveConvertedFileAs(const std::filesystem::path& tempURL,
                                             const std::filesystem::path& destination) {
    try {
        services_->moveReplacing(tempURL, destination);
    } catch (...) {
        // The cause stays hidden; the user can try another place, so the package is kept.
        setState(
            Error{"Could not save file to destination.", UnsavedPackage{tempURL, destination}});
        return;
    }
    setState(Success{destination});
}

void ConversionWorkflow::discardPreview(const std::filesystem::path& tempURL) {
    services_->removeFileQuietly(tempURL);
    setState(Idle{});
}

void ConversionWorkflow::resetToIdle() {
    if (const auto* error = std::get_if<Error>(&state_); error && error->unsaved) {
        services_->removeFileQuietly(error->unsaved->tempURL);
    }
    setState(Idle{});
}

bool ConversionWorkflow::handleDroppedItems(const std::vector<DroppedItemProvider>& items) {
    if (std::holds_alternative<Converting>(state_)) {
        return true;
    }
    auto answers = std::make_shared<DropAnswers>(
        items.size(), [post = makeStepPoster()](std::vector<std::filesystem::path> files) {
            post([files = std::move(files)](ConversionWorkflow& workflow) {
                workflow.openFiles(files);
            });
        });
    for (std::size_t index = 0; index < items.size(); ++index) {
        items[index](
            [answers, index](DropData data) { answers->answer(index, decodeDroppedFile(data)); });
    }
    return true;
}

void ConversionWorkflow::waitForBackgroundWork() {
    conversions_.waitForAll();
}

std::function<void(ConversionWorkflow::Step)> ConversionWorkflow::makeStepPoster() {
    return [post = postToMain_, alive = std::weak_ptr<int>(aliveToken_), self = this](Step step) {
        post([alive, self, step = std::move(step)] {
            if (alive.lock()) {
                step(*self);
            }
        });
    };
}

void ConversionWorkflow::setState(AppState state) {
    state_ = std::move(state);
    if (onStateChanged_) {
        onStateChanged_(state_);
    }
}

} // namespace brightfold
