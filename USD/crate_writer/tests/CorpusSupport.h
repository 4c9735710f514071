#pragma once

// Real USD files beside the repository, read into layers for the tests that
// write them back.

#include <USD/layer/Layer.h>
#include <USD/package/PackageEntry.h>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace usd::test {

std::filesystem::path corpusFolder(const std::string& name);

// Every .usdc, .usd and .usdz file below corpus/usd, in name order; empty
// when ../shared is missing.
std::vector<std::filesystem::path> corpusLayerFiles();

// The file's root layer, read with our readers.
Layer readLayerFile(const std::filesystem::path& file);

// A file with its own bytes, for writing into packages.
struct OwnedEntry {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// What goes into a package beside a rewritten root layer: for a package, its
// other entries; for a loose layer, the files its asset paths name that lie
// in its folder or below.
std::vector<OwnedEntry> sideFiles(const std::filesystem::path& file, const Layer& layer);

// The name of the rewritten root layer inside a package made from `file`: for a package,
// its own root layer's folder is kept.
std::string rootLayerName(const std::filesystem::path& file);

} // namespace usd::test
