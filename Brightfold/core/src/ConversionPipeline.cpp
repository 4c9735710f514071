#include <Brightfold/ConversionPipeline.h>
#include <Brightfold/SourceSceneLoader.h>
#include <exception>
#include <optional>
#include <stdexcept>

namespace brightfold {
namespace {

// Must be called inside a catch block.
std::string describeCurrentException() {
    try {
        throw;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "An unknown error occurred.";
    }
}

struct TemporaryPackage {
    std::filesystem::path url;
    std::vector<std::string> writerFindings;
};

std::optional<TemporaryPackage>
writeTemporaryPackage(const scene::Scene& scene, ConversionServices& services,
                      const std::shared_ptr<PipelineListener>& listener) {
    try {
        const auto url = services.temporaryDirectory() / (services.makeIdentifier() + ".usdz");
        // The writer may keep the handler beyond this call, so it holds the listener itself.
        USDZWriteResult result = services.writeUSDZ(
            scene, url, [listener](float progress) { listener->progressed(progress); });
        if (!result.succeeded) {
            return std::nullopt;
        }
        return TemporaryPackage{url, std::move(result.findings)};
    } catch (...) {
        return std::nullopt;
    }
}

SceneHandle readBack(const std::filesystem::path& url, ConversionServices& services) {
    SceneHandle scene = services.readUSDZ(url);
    if (!scene) {
        throw std::runtime_error("The USDZ reader returned no scene for the written file.");
    }
    services.clearBackground(*scene);
    return scene;
}

} // namespace

void runConversion(const std::filesystem::path& source, ConversionServices& services,
                   const std::shared_ptr<PipelineListener>& listener) noexcept {
    SceneHandle sourceScene;
    try {
        sourceScene = loadSourceScene(source, services);
    } catch (...) {
        listener->loadFailed(describeCurrentException());
        return;
    }
    std::optional<TemporaryPackage> package =
        writeTemporaryPackage(*sourceScene, services, listener);
    sourceScene.reset(); // free the source before the read-back builds a second scene
    if (!package) {
        listener->exportFailed();
        return;
    }
    SceneHandle previewScene;
    try {
        previewScene = readBack(package->url, services);
    } catch (...) {
        listener->loadFailed(describeCurrentException());
        return;
    }
    listener->previewReady(std::move(previewScene), package->url,
                           std::move(package->writerFindings));
}

} // namespace brightfold
