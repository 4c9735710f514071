#include "textures/ImageLibrary.h"

#include "textures/TextureEncoding.h"
#include "textures/TextureNotes.h"

#include <filesystem>
#include <stdexcept>

namespace usd::writer {
namespace {

// The same encoded bytes are the same picture, whichever image object holds them.
const void* identityOf(const scene::Image& image) {
    return image.encodedBytes() ? static_cast<const void*>(image.encodedBytes().get())
                                : static_cast<const void*>(&image);
}

std::string baseNameOf(const scene::Image& image, ImageUse::Bake bake) {
    std::string stem = std::filesystem::path(image.name()).stem().string();
    if (stem.empty())
        stem = "image";
    switch (bake) {
    case ImageUse::Bake::occlusionStrength:
        return stem + "_occlusion";
    case ImageUse::Bake::roughnessFromGlossiness:
        return stem + "_roughness";
    default:
        return stem;
    }
}

std::vector<std::uint8_t> bakedBytes(const scene::Image& image, const ImageUse& use) {
    switch (use.bake) {
    case ImageUse::Bake::occlusionStrength:
        return bakeOcclusionStrength(image, use.channel, use.parameter);
    case ImageUse::Bake::roughnessFromGlossiness:
        return bakeRoughnessFromGlossiness(image, use.channel, use.parameter);
    default:
        return reencodeAsPng(image);
    }
}

bool keepsOriginalBytes(const scene::Image& image, const ImageUse& use) {
    return use.bake == ImageUse::Bake::none && image.encodedBytes() &&
           image.format() != scene::ImageFormat::other;
}

bool isJpegFile(const std::string& name) {
    return name.ends_with(".jpg");
}

// The file's own bytes downscaled: the scene's image where they are its bytes, else the bake
// or re-encoding made of it, decoded again.
std::vector<std::uint8_t> downscaledFile(const scene::Image& image, const scene::Bytes& bytes,
                                         TextureSize size, ImageContent content,
                                         TextureFormat format) {
    std::shared_ptr<scene::Image> made;
    if (bytes != image.encodedBytes() && !(made = scene::Image::fromEncodedBytes(bytes)))
        throw std::runtime_error("the image made of it does not decode");
    const scene::Image& source = made ? *made : image;
    const scene::RGBA8Pixels pixels = downscaled(source, size, content);
    // A palette's transparency need not show in the channels its header declares.
    const int declared = source.channels();
    const bool addAlpha = declared % 2 == 1 && !isOpaque(pixels);
    return encodeTexture(pixels, addAlpha ? declared + 1 : declared, format);
}

} // namespace

std::optional<std::string> ImageLibrary::fileFor(const scene::Image& image, const ImageUse& use) {
    const ImageFacts::BakeKey key{identityOf(image), use.bake, use.channel, use.parameter};
    if (const auto found = made_.find(key); found != made_.end())
        return found->second;
    auto made = makeFile(image, use, key);
    made_.emplace(key, made);
    return made;
}

std::optional<std::string> ImageLibrary::makeFile(const scene::Image& image, const ImageUse& use,
                                                  const ImageFacts::BakeKey& key) {
    const bool original = keepsOriginalBytes(image, use);
    scene::Bytes bytes = original ? image.encodedBytes() : nullptr;
    if (const auto known = facts_.bakes.find(key); !original && known != facts_.bakes.end()) {
        if (!known->second.bytes) {
            findings_.push_back("An image could not be written (" + known->second.failure +
                                "); its material slot was left without a texture.");
            return std::nullopt;
        }
        bytes = known->second.bytes;
    }
    const bool jpeg = original && image.format() == scene::ImageFormat::jpeg;
    const std::string name =
        "textures/" + names_.claim(baseNameOf(image, use.bake), "image") + (jpeg ? ".jpg" : ".png");
    files_.push_back({name, bytes});
    origins_.push_back({&image, use, key});
    // The file's bytes follow when the bake is done; the name is all the layer needs now.
    if (!bytes)
        pendingBakes_.push_back(
            {files_.size() - 1, pool_.submit([&image, use] { return bakedBytes(image, use); })});
    return name;
}

bool ImageLibrary::isAllZero(const scene::Image& image, ImageChannel channel) {
    const ImageFacts::ChannelKey key{identityOf(image), channel};
    if (const auto known = facts_.allZeroChannels.find(key); known != facts_.allZeroChannels.end())
        return known->second;
    if (!pendingScans_.contains(key))
        pendingScans_.emplace(key, pool_.submit([&image, channel] {
            try {
                return isChannelAllZero(image, channel);
            } catch (const std::exception&) {
                return false;
            }
        }));
    return false;
}

std::vector<PackagedFile> ImageLibrary::finish() {
    collectScans();
    collectBakes();
    fitToLimits();
    return std::move(files_);
}

void ImageLibrary::collectBakes() {
    for (Pending& pending : pendingBakes_) {
        ImageFacts::Made& bake = facts_.bakes[origins_[pending.file].key];
        try {
            bake.bytes = scene::makeBytes(pending.bytes.get());
            files_[pending.file].bytes = bake.bytes;
        } catch (const std::exception& error) {
            bake.failure = error.what();
            facts_.layerIsStale = true;
        }
    }
    pendingBakes_.clear();
}

void ImageLibrary::collectScans() {
    for (auto& [key, scan] : pendingScans_) {
        const bool allZero = scan.get();
        facts_.allZeroChannels[key] = allZero;
        facts_.layerIsStale = facts_.layerIsStale || allZero;
    }
    pendingScans_.clear();
}

void ImageLibrary::fitToLimits() {
    std::vector<TextureSize> packaged;
    for (const FileOrigin& origin : origins_)
        packaged.push_back({origin.image->width(), origin.image->height()});
    const std::vector<FittedSize> sizes = fitTextures(packaged, limits_);
    for (std::size_t file = 0; file < files_.size(); ++file)
        // A bake that failed leaves the layer to be built again without it.
        if (!(sizes[file].size == packaged[file]) && files_[file].bytes)
            downscale(file, sizes[file], packaged);
    collectDownscales(sizes, packaged);
}

void ImageLibrary::collectDownscales(const std::vector<FittedSize>& sizes,
                                     std::vector<TextureSize>& packaged) {
    for (Pending& pending : pendingDownscales_) {
        const FittedSize& fitted = sizes[pending.file];
        ImageFacts::Made& made =
            facts_.downscales[{origins_[pending.file].key, fitted.size.width, fitted.size.height}];
        try {
            made.bytes = scene::makeBytes(pending.bytes.get());
        } catch (const std::exception& error) {
            made.failure = error.what();
        }
        record(pending.file, fitted, made, packaged);
    }
    pendingDownscales_.clear();
}

void ImageLibrary::downscale(std::size_t file, const FittedSize& fitted,
                             std::vector<TextureSize>& packaged) {
    const FileOrigin& origin = origins_[file];
    const ImageFacts::ResizeKey key{origin.key, fitted.size.width, fitted.size.height};
    if (const auto known = facts_.downscales.find(key); known != facts_.downscales.end()) {
        record(file, fitted, known->second, packaged);
        return;
    }
    const TextureFormat format =
        isJpegFile(files_[file].name) ? TextureFormat::jpeg : TextureFormat::png;
    pendingDownscales_.push_back(
        {file, pool_.submit([image = origin.image, bytes = files_[file].bytes, size = fitted.size,
                             content = origin.use.content, format] {
             return downscaledFile(*image, bytes, size, content, format);
         })});
}

void ImageLibrary::record(std::size_t file, const FittedSize& fitted, const ImageFacts::Made& made,
                          std::vector<TextureSize>& packaged) {
    const std::string& name = files_[file].name;
    if (!made.bytes) {
        findings_.push_back(failedDownscaleNote(name, packaged[file], made.failure));
        return;
    }
    findings_.push_back(downscaleNote(name, packaged[file], fitted, limits_));
    files_[file].bytes = made.bytes;
    packaged[file] = fitted.size;
}

} // namespace usd::writer
