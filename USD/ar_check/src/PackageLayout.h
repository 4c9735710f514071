#pragma once

#include <USD/ar_check/ARBudgets.h>
#include <USD/package/PackageEntry.h>
#include <span>
#include <vector>

namespace usd::ar {

// The rules of the archive itself: the root layer first, every entry's data 64 bytes into the
// archive, only layers and PNG or JPEG images inside. `archive` holds the entries' bytes.
void checkPackageLayout(std::span<const std::uint8_t> archive,
                        const std::vector<PackageEntry>& entries, RuleProblems& problems);

// The first layer of the package: the root layer, or where the rest of it is checked from when
// something else comes first. Null when it holds none.
const PackageEntry* firstLayerOf(const std::vector<PackageEntry>& entries);

// Measures every image of the package that the viewer decodes.
void measureTextures(const std::vector<PackageEntry>& entries, PackageMeasures& measures);

} // namespace usd::ar
