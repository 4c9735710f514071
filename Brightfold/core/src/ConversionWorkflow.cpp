#include <Brightfold/ConversionPipeline.h>
#include <Brightfold/ConversionWorkflow.h>
#include <Brightfold/SaveDestination.h>
#include <utility>

namespace brightfold {
// Turns what a background conversion hears into steps run later on the main thread.
class ConversionWorkflow::PostingListener : public PipelineListener {
  public:
    PostingListener(std::function<void(Step)> post, std::filesystem::path source)
        : post_(std::move(post)), source_(std::move(source)) {}

    void progressed(float progress) override {
        post_([progress](ConversionWorkflow& workflow) { workflow.updateProgress(progress); });
    }
    void loadFailed(std::string description) override {
        post_([description = std::move(description)](ConversionWorkflow& workflow) {
            workflow.reportLoadFailure(description);
        });
    }
    void exportFailed() override {
        post_([](ConversionWorkflow& workflow) { workflow.reportExportFailure(); });
    }
    void previewReady(SceneHandle scene, std::filesystem::path tempURL,
                      std::vector<std::string> writerFindings) override {
        ConversionRecord record{source_, std::move(tempURL), std::move(writerFindings)};
        post_([scene = std::move(scene), record = std::move(record)](ConversionWorkflow& workflow) {
            workflow.lastConversion_ = record;
            workflow.showPreview(scene, record.temporaryFile, record.source);
        });
    }

  private:
    std::function<void(Step)> post_;
    std::filesystem::path source_;
};

ConversionWorkflow::ConversionWorkflow(std::shared_ptr<ConversionServices> services,
                                       MainQueuePoster postToMain, StateObserver onStateChanged)
    : services_(std::move(services)), postToMain_(std::move(postToMain)),
      onStateChanged_(std::move(onStateChanged)) {}

ConversionWorkflow::~ConversionWorkflow() {
    conversions_.waitForAll();
}

void ConversionWorkflow::startConversion(const std::filesystem::path& file) {
    setState(Converting{0.0f});
    auto listener = std::make_shared<PostingListener>(makeStepPoster(), file);
    conversions_.start(
        [services = services_, file, listener] { runConversion(file, *services, listener); });
}

void ConversionWorkflow::updateProgress(float progress) {
    if (std::holds_alternative<Converting>(state_)) {
        setState(Converting{progress});
    }
}

void ConversionWorkflow::showPreview(SceneHandle scene, const std::filesystem::path& tempURL,
                                     const std::filesystem::path& originalURL) {
    setState(Preview{std::move(scene), tempURL, originalURL});
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
        // The cause stays hidden; the user can only try another place or file.
        setState(Error{"Could not save file to destination."});
        return;
    }
    setState(Success{destination});
}

void ConversionWorkflow::discardPreview(const std::filesystem::path& tempURL) {
    services_->removeFileQuietly(tempURL);
    setState(Idle{});
}

void ConversionWorkflow::resetToIdle() {
    setState(Idle{});
}

bool ConversionWorkflow::handleDroppedItems(const std::vector<DroppedItemProvider>& items) {
    if (std::holds_alternative<Converting>(state_)) {
        return true;
    }
    for (const DroppedItemProvider& item : items) {
        item([post = makeStepPoster()](DropData data) {
            if (auto file = decodeDroppedFile(data)) {
                post([file = *file](ConversionWorkflow& workflow) {
                    workflow.startConversion(file);
                });
            }
        });
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
