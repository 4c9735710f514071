#include "ImageLibrary.h"

#include <filesystem>
#include <stdexcept>

namespace usd::writer {
namespace {

constexpr int largestSide = 2048;
constexpr std::size_t largestDecodedTotal = 160u << 20;

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
    // The file's bytes follow when the bake is done; the name is all the layer needs now.
    if (!bytes)
        pendingBakes_.push_back({files_.size() - 1, key,
                                 pool_.submit([&image, use] { return bakedBytes(image, use); })});
    noteSize(image);
    return name;
}

void ImageLibrary::noteSize(const scene::Image& image) {
    if (image.width() > largestSide || image.height() > largestSide)
        findings_.push_back("Image " + files_.back().name + " is " + std::to_string(image.width()) +
                            "×" + std::to_string(image.height()) +
                            " pixels; the AR viewer may scale down images above 2048 pixels a "
                            "side.");
    decodedBytes_ +=
        static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height()) * 4;
    if (decodedBytes_ > largestDecodedTotal && !reportedTotal_) {
        reportedTotal_ = true;
        findings_.push_back("The images need more than 160 MiB once decoded; the AR viewer may "
                            "fail to load the model on small devices.");
    }
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
    return std::move(files_);
}

void ImageLibrary::collectBakes() {
    for (PendingBake& pending : pendingBakes_) {
        ImageFacts::Bake& bake = facts_.bakes[pending.key];
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

} // namespace usd::writer
