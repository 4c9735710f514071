#include <Brightfold/ConversionPipeline.h>
#include <Brightfold/CurrentException.h>
#include <Brightfold/SourceSceneLoader.h>
#include <optional>
#include <stdexcept>

namespace brightfold {
namespace {

struct WrittenPackage {
    std::filesystem::path url;
    std::optional<USDZWriteResult> result; // empty when the writer threw
};

WrittenPackage writeTemporaryPackage(const scene::Scene& scene, const std::string& packageName,
                                     const ConversionOptions& options, ConversionServices& services,
                                     const std::shared_ptr<PipelineListener>& listener,
                                     std::stop_token stop) {
    WrittenPackage package;
    try {
        package.url = services.temporaryDirectory() / (services.makeIdentifier() + ".usdz");
        // The writer may keep the handler beyond this call, so it holds the listener itself.
        package.result = services.writeUSDZ(
            scene, package.url, packageName, options,
            [listener](float progress) { listener->progressed(progress); }, stop);
    } catch (...) {
        package.result.reset();
    }
    return package;
}

SceneHandle readWithClearBackground(const std::filesystem::path& url, ConversionServices& services,
                                    std::vector<std::string>& notes) {
    SceneHandle scene = services.readUSDZ(url, notes);
    if (!scene) {
        throw std::runtime_error("The USDZ reader returned no scene for the file.");
    }
    services.clearBackground(*scene);
    return scene;
}

void append(std::vector<std::string>& to, const std::vector<std::string>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

// Once a stop is requested nothing more is reported and nothing is left behind.
bool abandonedWhenStopped(std::stop_token stop, const std::filesystem::path& temporaryFile,
                          ConversionServices& services) {
    if (!stop.stop_requested()) {
        return false;
    }
    if (!temporaryFile.empty()) {
        services.removeFileQuietly(temporaryFile);
    }
    return true;
}

} // namespace

void runConversion(const std::filesystem::path& source, ConversionServices& services,
                   const std::shared_ptr<PipelineListener>& listener,
                   const ConversionOptions& options, std::stop_token stop) noexcept {
    LoadedScene loaded;
    try {
        loaded = loadSourceScene(source, services, stop);
    } catch (...) {
        if (!stop.stop_requested()) {
            listener->loadFailed(describeCurrentException());
        }
        return;
    }
    if (abandonedWhenStopped(stop, {}, services)) {
        return;
    }
    WrittenPackage written = writeTemporaryPackage(*loaded.scene, source.stem().string(), options,
                                                   services, listener, stop);
    loaded.scene.reset(); // free the source before the read-back builds a second scene
    if (abandonedWhenStopped(stop, written.url, services)) {
        return;
    }
    if (!written.result || !written.result->succeeded) {
        listener->exportFailed();
        return;
    }
    ConvertedPackage package{written.url, std::move(written.result->notes), std::move(loaded.notes),
                             services.checkPackage(written.url, options),
                             std::move(written.result->clips)};
    append(package.notes, package.writerNotes);
    append(package.notes, verdictNotes(package.verdict, package.writerNotes));
    SceneHandle previewScene;
    try {
        previewScene = readWithClearBackground(package.tempURL, services, package.notes);
    } catch (...) {
        if (!abandonedWhenStopped(stop, package.tempURL, services)) {
            listener->loadFailed(describeCurrentException());
        }
        return;
    }
    if (abandonedWhenStopped(stop, package.tempURL, services)) {
        return;
    }
    listener->previewReady(std::move(previewScene), std::move(package));
}

void runViewing(const std::filesystem::path& file, ConversionServices& services,
                ViewListener& listener, std::stop_token stop) noexcept {
    std::vector<std::string> notes;
    SceneHandle scene;
    try {
        scene = readWithClearBackground(file, services, notes);
    } catch (...) {
        if (!stop.stop_requested()) {
            listener.loadFailed(describeCurrentException());
        }
        return;
    }
    if (stop.stop_requested()) {
        return;
    }
    PackageVerdict verdict = services.checkPackage(file, {});
    if (!stop.stop_requested()) {
        listener.viewReady(std::move(scene), std::move(notes), std::move(verdict));
    }
}

} // namespace brightfold
