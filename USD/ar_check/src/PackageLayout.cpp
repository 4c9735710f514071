#include "PackageLayout.h"

#include <SceneGraph/Image.h>
#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace usd::ar {
namespace {

constexpr std::size_t dataAlignment = 64;

std::string lowerExtension(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
    std::ranges::transform(extension, extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool isLayerName(const std::string& name) {
    const std::string extension = lowerExtension(name);
    return extension == "usdc" || extension == "usda" || extension == "usd";
}

bool isImageName(const std::string& name) {
    const std::string extension = lowerExtension(name);
    return extension == "png" || extension == "jpg" || extension == "jpeg";
}

// The image header, read without decoding; null for bytes that are no PNG or JPEG.
std::shared_ptr<scene::Image> imageIn(const PackageEntry& entry) {
    auto image = scene::Image::fromEncodedBytes(scene::viewBytes(entry.bytes, nullptr));
    if (!image || image->format() == scene::ImageFormat::other)
        return nullptr;
    return image;
}

void checkEntryKind(const PackageEntry& entry, RuleProblems& problems) {
    if (isLayerName(entry.name))
        return;
    if (!isImageName(entry.name))
        problems.push_back(
            {std::string(rule::packageFiles), entry.name,
             "AR Quick Look reads only USD layers and PNG or JPEG images in a package: "
             "leave the file out (an image of another kind, converted to PNG)."});
    else if (!imageIn(entry))
        problems.push_back({std::string(rule::packageFiles), entry.name,
                            "is named as an image but holds no PNG or JPEG the viewer can "
                            "decode: store it as PNG or JPEG."});
}

} // namespace

void checkPackageLayout(std::span<const std::uint8_t> archive,
                        const std::vector<PackageEntry>& entries, RuleProblems& problems) {
    if (entries.empty() || !isLayerName(entries.front().name))
        problems.push_back(
            {std::string(rule::packageLayout), entries.empty() ? "" : entries.front().name,
             "The package does not start with its root layer: put the .usdc layer first."});
    for (const PackageEntry& entry : entries) {
        const std::size_t offset =
            entry.bytes.empty() ? 0 : static_cast<std::size_t>(entry.bytes.data() - archive.data());
        if (offset % dataAlignment != 0)
            problems.push_back({std::string(rule::packageLayout), entry.name,
                                "its data starts " + std::to_string(offset) +
                                    " bytes into the archive, not on a multiple of 64: write the "
                                    "package again with aligned entries."});
        checkEntryKind(entry, problems);
    }
}

const PackageEntry* firstLayerOf(const std::vector<PackageEntry>& entries) {
    const auto layer = std::ranges::find_if(
        entries, [](const PackageEntry& entry) { return isLayerName(entry.name); });
    return layer == entries.end() ? nullptr : &*layer;
}

void measureTextures(const std::vector<PackageEntry>& entries, PackageMeasures& measures) {
    for (const PackageEntry& entry : entries)
        if (isImageName(entry.name))
            if (const auto image = imageIn(entry))
                measureTexture({entry.name, static_cast<unsigned>(image->width()),
                                static_cast<unsigned>(image->height())},
                               measures);
}

} // namespace usd::ar
