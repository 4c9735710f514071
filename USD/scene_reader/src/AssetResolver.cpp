#include "AssetResolver.h"

#include "ReadLimits.h"

#include <USD/codec/TwoHalves.h>
#include <USD/crate_reader/CrateReader.h>
#include <USD/package/PackageError.h>
#include <USD/scene_reader/SceneReader.h>
#include <algorithm>
#include <fstream>
#include <iterator>

namespace usd::reader {
namespace {

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return std::nullopt;
    }
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(stream), {});
}

bool startsWith(std::span<const std::uint8_t> bytes, std::string_view magic) {
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

Layer decodeLayer(std::span<const std::uint8_t> bytes, const std::string& name) {
    if (startsWith(bytes, "#usda")) {
        throw SceneReadError(name +
                             " is a text (.usda) layer; only binary (.usdc) layers can be read.");
    }
    if (!startsWith(bytes, "PXR-USDC")) {
        throw SceneReadError(name + " is not a USD layer.");
    }
    try {
        return readCrate(bytes);
    } catch (const std::exception& error) {
        throw SceneReadError(name + " cannot be read: " + error.what());
    }
}

// A copy that owns its bytes. A big one (an image of a few megabytes) is made in two halves at
// once, since one core alone moves bytes at well under the memory's speed.
scene::Bytes copyOf(std::span<const std::uint8_t> data) {
    const auto [first, copy] = scene::makeUnsetBlock<std::uint8_t>(data.size());
    inTwoHalves(data.size(), 1, [&data, first = first](IndexRange range) {
        std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(range.first), range.size(),
                    first + range.first);
    });
    return copy;
}

std::vector<std::string> subLayerPaths(const Layer& layer) {
    const Spec* root = layer.pseudoRoot();
    const Value* value = root ? root->field("subLayers") : nullptr;
    const auto* paths = value ? value->get<StringVector>() : nullptr;
    return paths ? paths->items : std::vector<std::string>{};
}

} // namespace

std::string AssetLocation::displayName() const {
    if (package == nullptr) {
        return file.filename().string();
    }
    return file.filename().string() + "[" + entryName + "]";
}

AssetResolver::AssetResolver(SceneReadNotes& notes) : notes_(notes) {}

std::unique_ptr<AssetResolver> AssetResolver::forPackage(const std::filesystem::path& file,
                                                         SceneReadNotes& notes) {
    std::unique_ptr<AssetResolver> resolver(new AssetResolver(notes));
    try {
        resolver->packages_.push_back(std::make_unique<PackageReader>(
            PackageReader::open(file, PackageReader::ChecksumTiming::alongside)));
        const PackageReader& package = *resolver->packages_.back();
        resolver->mappedPackage_ = &package;
        try {
            resolver->root_ = &resolver->load({&package, file, package.rootLayer().name}, 0);
        } catch (...) {
            package.confirmChecksums(); // a corrupt entry explains the failure best
            throw;
        }
    } catch (const PackageError& error) {
        throw SceneReadError(error.what());
    }
    return resolver;
}

void AssetResolver::confirmChecksums() const {
    if (mappedPackage_ == nullptr) {
        return;
    }
    try {
        mappedPackage_->confirmChecksums();
    } catch (const PackageError& error) {
        throw SceneReadError(error.what());
    }
}

std::unique_ptr<AssetResolver> AssetResolver::forLayerFile(const std::filesystem::path& file,
                                                           SceneReadNotes& notes) {
    std::unique_ptr<AssetResolver> resolver(new AssetResolver(notes));
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        throw SceneReadError(file.filename().string() + " cannot be opened: no such file.");
    }
    resolver->root_ = &resolver->load({nullptr, file, {}}, 0);
    return resolver;
}

const LoadedLayer* AssetResolver::layer(const std::string& assetPath, const AssetLocation& from) {
    const std::optional<AssetLocation> location = resolve(assetPath, from);
    if (!location) {
        notes_.push_back("The layer @" + assetPath + "@ named in " + from.displayName() +
                         " was not found; it is left out.");
        return nullptr;
    }
    return &load(*location, 0);
}

std::optional<scene::Bytes> AssetResolver::bytes(const std::string& assetPath,
                                                 const AssetLocation& from) {
    const std::optional<AssetLocation> location = resolve(assetPath, from);
    if (!location) {
        return std::nullopt;
    }
    const std::span<const std::uint8_t> data = contents(*location);
    auto copied = copyOf(data);
    releaseMappedPages(*location, data);
    return copied;
}

std::optional<AssetLocation> AssetResolver::resolve(const std::string& assetPath,
                                                    const AssetLocation& from) {
    const std::size_t open = assetPath.find('[');
    if (open == std::string::npos || !assetPath.ends_with(']')) {
        return resolvePlain(assetPath, from);
    }
    const std::optional<AssetLocation> outer = resolvePlain(assetPath.substr(0, open), from);
    if (!outer) {
        return std::nullopt;
    }
    return insideNestedPackage(*outer, assetPath.substr(open + 1, assetPath.size() - open - 2));
}

std::optional<AssetLocation> AssetResolver::resolvePlain(const std::string& assetPath,
                                                         const AssetLocation& from) {
    if (assetPath.empty()) {
        return std::nullopt;
    }
    const std::filesystem::path relative(assetPath);
    if (from.package != nullptr && relative.is_relative()) {
        const std::filesystem::path inside =
            (std::filesystem::path(from.entryName).parent_path() / relative).lexically_normal();
        const std::string name = inside.generic_string();
        if (from.package->find(name) != nullptr) {
            return AssetLocation{from.package, from.file, name};
        }
    }
    // Beside the file (or the package) on disk.
    const std::filesystem::path onDisk =
        relative.is_absolute() ? relative : (from.file.parent_path() / relative).lexically_normal();
    std::error_code error;
    if (std::filesystem::is_regular_file(onDisk, error)) {
        return AssetLocation{nullptr, onDisk, {}};
    }
    return std::nullopt;
}

std::optional<AssetLocation> AssetResolver::insideNestedPackage(const AssetLocation& package,
                                                                const std::string& innerPath) {
    const std::string key = package.displayName();
    auto opened = nestedPackages_.find(key);
    if (opened == nestedPackages_.end()) {
        try {
            packages_.push_back(std::make_unique<PackageReader>(contents(package)));
        } catch (const PackageError& error) {
            notes_.push_back(key + " cannot be opened as a package: " + error.what());
            return std::nullopt;
        }
        opened = nestedPackages_.emplace(key, packages_.back().get()).first;
    }
    const std::string name = std::filesystem::path(innerPath).lexically_normal().generic_string();
    if (opened->second->find(name) == nullptr) {
        return std::nullopt;
    }
    return AssetLocation{opened->second, package.file, name};
}

std::span<const std::uint8_t> AssetResolver::contents(const AssetLocation& location) {
    if (location.package != nullptr) {
        const PackageEntry* entry = location.package->find(location.entryName);
        return entry ? entry->bytes : std::span<const std::uint8_t>{};
    }
    std::optional<std::vector<std::uint8_t>> data = readWholeFile(location.file);
    if (!data) {
        throw SceneReadError(location.displayName() + " cannot be read.");
    }
    fileContents_.push_back(std::move(*data));
    return fileContents_.back();
}

void AssetResolver::releaseMappedPages(const AssetLocation& location,
                                       std::span<const std::uint8_t> bytes) const {
    if (location.package != nullptr) {
        location.package->releasePages(bytes);
    }
}

const LoadedLayer& AssetResolver::load(const AssetLocation& location, int depth) {
    const std::string key = location.displayName();
    if (const auto found = layers_->find(key); found != layers_->end()) {
        return *found->second;
    }
    if (depth > kMaxLayerNesting) {
        throw SceneReadError(key + ": sublayers nest more than " +
                             std::to_string(kMaxLayerNesting) + " levels deep.");
    }
    auto loaded = std::make_unique<LoadedLayer>();
    const std::span<const std::uint8_t> encoded = contents(location);
    loaded->layer = decodeLayer(encoded, key);
    releaseMappedPages(location, encoded);
    loaded->location = location;
    loading_.push_back(key);
    for (const std::string& path : subLayerPaths(loaded->layer)) {
        const std::optional<AssetLocation> sub = resolve(path, location);
        if (!sub) {
            notes_.push_back("The sublayer @" + path + "@ of " + key +
                             " was not found; it is left out.");
        } else if (std::ranges::find(loading_, sub->displayName()) != loading_.end()) {
            notes_.push_back("The sublayer @" + path + "@ of " + key +
                             " includes itself; the repetition is left out.");
        } else {
            loaded->subLayers.push_back(&load(*sub, depth + 1));
        }
    }
    loading_.pop_back();
    return *layers_->emplace(key, std::move(loaded)).first->second;
}

} // namespace usd::reader
