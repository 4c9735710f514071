#include "UsdcImport.h"

#include <ModelImporter/ModelImporter.h>
#include <USD/USDZReader.h>

namespace modelimporter {

std::shared_ptr<scene::Scene> importUsdc(const std::filesystem::path& file) {
    try {
        return usd::readUSDLayerFile(file);
    } catch (const usd::SceneReadError& error) {
        throw ImportError(error.what());
    }
}

} // namespace modelimporter
