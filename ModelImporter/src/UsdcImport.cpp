#include "UsdcImport.h"

#include <ModelImporter/ModelImporter.h>

namespace modelimporter {

// The USD scene reader is not part of the build yet; this is where it plugs in.
std::shared_ptr<scene::Scene> importUsdc(const std::filesystem::path& file) {
    throw ImportError("Cannot open \"" + file.filename().string() +
                      "\": this build has no reader for .usdc files yet.");
}

} // namespace modelimporter
