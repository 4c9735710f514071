#pragma once

#include <filesystem>

namespace brightfold {

// Where a conversion of `source` is saved: beside it, same base name, extension "usdz"
// (only the last extension is replaced: "a.b.glb" becomes "a.b.usdz"). A package made AR-ready
// never replaces its source: "x.usdz" becomes "x-ar.usdz".
std::filesystem::path usdzDestinationFor(const std::filesystem::path& source);

} // namespace brightfold
