#include "AssetResolver.h"
#include "MaterialResolver.h"
#include "SceneBuilder.h"
#include "Stage.h"

#include <USD/scene_reader/SceneReader.h>
#include <new>

namespace usd {
namespace {

// Any other failure below is a file we did not foresee; it still reaches the user as a
// read error naming the file.
template <typename Open>
std::shared_ptr<scene::Scene> readComposed(const std::filesystem::path& file, Open open,
                                           SceneReadNotes& notes) {
    try {
        const auto assets = open(file, notes);
        try {
            const reader::Stage stage(*assets, notes);
            reader::MaterialResolver materials(stage, *assets, notes);
            auto scene = reader::buildScene(stage, materials, assets->layerKeeper(), notes);
            assets->confirmChecksums();
            return scene;
        } catch (...) {
            assets->confirmChecksums(); // a corrupt entry explains the failure best
            throw;
        }
    } catch (const SceneReadError&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw SceneReadError(file.filename().string() + " is too large to read into memory.");
    } catch (const std::exception& error) {
        throw SceneReadError(file.filename().string() + " cannot be read: " + error.what());
    }
}

} // namespace

std::shared_ptr<scene::Scene> readUSDZ(const std::filesystem::path& url, SceneReadNotes& notes) {
    return readComposed(url, reader::AssetResolver::forPackage, notes);
}

std::shared_ptr<scene::Scene> readUSDZ(const std::filesystem::path& url) {
    SceneReadNotes ignored;
    return readUSDZ(url, ignored);
}

std::shared_ptr<scene::Scene> readUSDLayerFile(const std::filesystem::path& file,
                                               SceneReadNotes& notes) {
    return readComposed(file, reader::AssetResolver::forLayerFile, notes);
}

std::shared_ptr<scene::Scene> readUSDLayerFile(const std::filesystem::path& file) {
    SceneReadNotes ignored;
    return readUSDLayerFile(file, ignored);
}

} // namespace usd
