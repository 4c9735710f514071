#include "ThumbnailScene.h"

#include <Brightfold/SourceSceneLoader.h>
#include <SceneGraph/Scene.h>
#include <stdexcept>
#include <system_error>

namespace brightfold::thumbnailer {
namespace {

void checkSize(const std::filesystem::path& file) {
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(file, error);
    if (error) {
        throw std::runtime_error("cannot read " + file.string() + ": " + error.message());
    }
    if (bytes > maximumInputBytes) {
        throw std::runtime_error(file.string() + " is larger than " +
                                 std::to_string(maximumInputBytes >> 20) +
                                 " MiB, more than a thumbnail is drawn for");
    }
}

SceneHandle readScene(const std::filesystem::path& file, ConversionServices& services) {
    const std::string extension = lowerCasedExtension(file);
    if (extension == "usdz" || extension == "usdc") {
        std::vector<std::string> notes; // a picture has nowhere to show them
        return services.readUSDZ(file, notes);
    }
    return loadSourceScene(file, services).scene;
}

} // namespace

SceneHandle loadThumbnailScene(const std::filesystem::path& file, ConversionServices& services) {
    checkSize(file);
    SceneHandle scene = readScene(file, services);
    if (!scene || !services.hasGeometry(*scene)) {
        throw std::runtime_error(file.string() + " holds no geometry to draw");
    }
    services.clearBackground(*scene);
    return scene;
}

} // namespace brightfold::thumbnailer
