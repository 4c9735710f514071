#include "CorpusSupport.h"

#include <USD/crate_reader/CrateReader.h>
#include <USD/package/PackageReader.h>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

namespace usd::test {
namespace {

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void collectAssetPaths(const Value& value, std::set<std::string>& paths) {
    if (const auto* asset = value.get<AssetPath>())
        paths.insert(asset->path);
    if (const auto* assets = value.get<Array<AssetPath>>())
        for (const AssetPath& asset : *assets)
            paths.insert(asset.path);
}

// Only plain relative names that stay inside the layer's folder.
bool isPackageableName(const std::string& name) {
    return !name.empty() && name.front() != '/' && name.find("..") == std::string::npos &&
           name.find(':') == std::string::npos && name.find('[') == std::string::npos;
}

} // namespace

std::filesystem::path corpusFolder(const std::string& name) {
    return std::filesystem::path(BRIGHTFOLD_SHARED_DIR) / "corpus" / name;
}

std::vector<std::filesystem::path> corpusLayerFiles() {
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::is_directory(corpusFolder("usd")))
        return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpusFolder("usd"))) {
        const auto extension = entry.path().extension();
        if (extension == ".usdc" || extension == ".usd" || extension == ".usdz")
            files.push_back(entry.path());
    }
    std::ranges::sort(files);
    return files;
}

Layer readLayerFile(const std::filesystem::path& file) {
    if (file.extension() != ".usdz")
        return readCrateFile(file);
    const PackageReader package = PackageReader::open(file);
    return readCrate(package.rootLayer().bytes);
}

std::vector<OwnedEntry> sideFiles(const std::filesystem::path& file, const Layer& layer) {
    std::vector<OwnedEntry> entries;
    if (file.extension() == ".usdz") {
        const PackageReader package = PackageReader::open(file);
        for (std::size_t i = 1; i < package.entries().size(); ++i) {
            const PackageEntry& entry = package.entries()[i];
            entries.push_back({entry.name, {entry.bytes.begin(), entry.bytes.end()}});
        }
        return entries;
    }
    std::set<std::string> assetPaths;
    for (const auto& [path, spec] : layer.specs())
        for (const auto& [name, value] : spec.fields)
            collectAssetPaths(value, assetPaths);
    for (std::string name : assetPaths) {
        if (name.starts_with("./"))
            name.erase(0, 2);
        const auto onDisk = file.parent_path() / name;
        if (isPackageableName(name) && std::filesystem::is_regular_file(onDisk))
            entries.push_back({name, readBytes(onDisk)});
    }
    return entries;
}

std::string rootLayerName(const std::filesystem::path& file) {
    // A package's root may sit in a folder its asset paths are relative to.
    if (file.extension() == ".usdz") {
        const std::filesystem::path root(PackageReader::open(file).rootLayer().name);
        return (root.parent_path() / (root.stem().string() + ".usdc")).generic_string();
    }
    return file.stem().string() + ".usdc";
}

} // namespace usd::test
