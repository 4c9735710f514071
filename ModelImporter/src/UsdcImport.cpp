#include "UsdcImport.h"

#include "ImportNotes.h"

#include <ModelImporter/ModelImporter.h>
#include <SceneGraph/MaterialContract.h>
#include <USD/scene_reader/SceneReader.h>

namespace modelimporter {

std::shared_ptr<scene::Scene> importUsdc(const std::filesystem::path& file) {
    try {
        // What the reader leaves out or changes reaches the user like any importer's notes.
        usd::SceneReadNotes notes;
        auto scene = usd::readUSDLayerFile(file, notes);
        scene::addNotes(*scene, notes);
        return scene;
    } catch (const usd::SceneReadError& error) {
        throw ImportError(error.what());
    }
}

} // namespace modelimporter
