#pragma once

#include <SceneGraph/Bytes.h>
#include <USD/layer/Layer.h>
#include <USD/package/PackageReader.h>
#include <USD/scene_reader/SceneReader.h>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace usd::reader {

// Where a layer or an asset lies: an entry of an opened package, or a file on disk. Asset
// paths written inside a layer resolve relative to its location.
struct AssetLocation {
    const PackageReader* package = nullptr; // null for a file on disk
    std::filesystem::path file;             // the file on disk, or the outermost package file
    std::string entryName;                  // inside `package`
    std::string displayName() const;
};

// A layer with the layers it names as sublayers (strongest first).
struct LoadedLayer {
    Layer layer;
    AssetLocation location;
    std::vector<const LoadedLayer*> subLayers;
};

// Opens the file the user named and every layer and asset it leads to, each at most once.
// Asset paths resolve inside the package first, then beside the file on disk; nested
// packages ("inner.usdz[path]") are opened from the bytes of their entry.
class AssetResolver {
  public:
    // Both throw SceneReadError when the file or its root layer cannot be read.
    static std::unique_ptr<AssetResolver> forPackage(const std::filesystem::path& file,
                                                     SceneReadNotes& notes);
    static std::unique_ptr<AssetResolver> forLayerFile(const std::filesystem::path& file,
                                                       SceneReadNotes& notes);

    const LoadedLayer& rootLayer() const { return *root_; }

    // What keeps every loaded layer, and so the arrays its values hold, alive: scene data that
    // views those arrays instead of copying them holds on to it.
    std::shared_ptr<const void> layerKeeper() const { return layers_; }

    // The package's CRC-32s are checked while its layers are read: this waits for that check
    // and throws SceneReadError when an entry is corrupt. Nothing read from the package may be
    // trusted, nor any failure explained, until it has returned.
    void confirmChecksums() const;

    // The layer an asset path written in `from` names, loaded with its sublayers; null when
    // the path leads nowhere. Throws SceneReadError for a layer that cannot be read.
    const LoadedLayer* layer(const std::string& assetPath, const AssetLocation& from);

    // The bytes of an asset (a texture), or nullopt when it cannot be found.
    std::optional<scene::Bytes> bytes(const std::string& assetPath, const AssetLocation& from);

  private:
    explicit AssetResolver(SceneReadNotes& notes);
    std::optional<AssetLocation> resolve(const std::string& assetPath, const AssetLocation& from);
    std::optional<AssetLocation> resolvePlain(const std::string& assetPath,
                                              const AssetLocation& from);
    std::optional<AssetLocation> insideNestedPackage(const AssetLocation& package,
                                                     const std::string& innerPath);
    const LoadedLayer& load(const AssetLocation& location, int depth);
    std::span<const std::uint8_t> contents(const AssetLocation& location);
    // Entries of the package the user named lie in its mapped file, which stays open while the
    // scene is read: their pages are given back once decoded or copied (the package's reader
    // ignores bytes outside its file, such as those of packages read from memory).
    void releaseMappedPages(const AssetLocation& location,
                            std::span<const std::uint8_t> bytes) const;

    SceneReadNotes& notes_;
    std::vector<std::unique_ptr<PackageReader>> packages_;
    const PackageReader* mappedPackage_ = nullptr; // opened from its file, not from bytes
    std::map<std::string, const PackageReader*> nestedPackages_;
    // Disk files read whole; a deque keeps earlier contents where they are.
    std::deque<std::vector<std::uint8_t>> fileContents_;
    // Shared with the scenes whose vertex data and triangles view the layers' arrays.
    std::shared_ptr<std::map<std::string, std::unique_ptr<LoadedLayer>>> layers_ =
        std::make_shared<std::map<std::string, std::unique_ptr<LoadedLayer>>>();
    std::vector<std::string> loading_; // layers whose sublayers are being opened
    const LoadedLayer* root_ = nullptr;
};

} // namespace usd::reader
