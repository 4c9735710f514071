#pragma once

#include "Notes.h"
#include "PrimNames.h"
#include "WorkPool.h"
#include "textures/ImageBaking.h"
#include "textures/ImageDownscaling.h"
#include "textures/TextureFitting.h"

#include <SceneGraph/Image.h>
#include <USD/scene_writer/SceneWriter.h>
#include <future>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace usd::writer {

// How a texture file is derived from a scene image.
struct ImageUse {
    enum class Bake { none, occlusionStrength, roughnessFromGlossiness };
    Bake bake = Bake::none;
    ImageChannel channel = ImageChannel::red; // the channel a bake reads
    double parameter = 1.0;                   // the strength or glossiness factor
    // How the file is averaged should it be downscaled; the first use of a file decides.
    ImageContent content = ImageContent::colour;
};

// What decoding found out about a scene's images, kept from one build of its layer to the next.
struct ImageFacts {
    using BakeKey = std::tuple<const void*, ImageUse::Bake, ImageChannel, double>;
    using ChannelKey = std::pair<const void*, ImageChannel>;
    using ResizeKey = std::tuple<BakeKey, int, int>; // the file and its new width and height
    // A file made from an image: a bake, or a downscale.
    struct Made {
        scene::Bytes bytes; // null when the image could not be decoded
        std::string failure;
    };

    std::map<BakeKey, Made> bakes;
    std::map<ResizeKey, Made> downscales;
    std::map<ChannelKey, bool> allZeroChannels;
    // A layer built before these facts were known names a texture it must not: an image that
    // could not be baked, or an occlusion image that is black everywhere.
    bool layerIsStale = false;
};

// The texture files of one package: one per distinct image (and per distinct bake of it),
// with the original PNG/JPEG bytes wherever no bake is needed. Bakes and image scans run on a
// small pool beside the layer's building; until one has finished the library assumes it will
// succeed (and that a channel is not all zero), and finish() says when that was wrong. Once
// every file is known, those the limits do not let through are downscaled (each noted).
class ImageLibrary {
  public:
    ImageLibrary(Notes& notes, ImageFacts& facts, const TextureLimits& limits)
        : findings_(notes), facts_(facts), limits_(limits), pool_(imageWorkThreadCount()) {}

    // The package path of the file for `image` as `use` asks ("textures/wood.png"), made on
    // first request; nullopt (reported) when the image is known not to decode for a bake.
    std::optional<std::string> fileFor(const scene::Image& image, const ImageUse& use = {});

    // Whether the chosen channel is 0 everywhere; false while not yet known, or when the image
    // cannot be decoded.
    bool isAllZero(const scene::Image& image, ImageChannel channel);

    // Waits for the image work, fits the files into the limits, records what it found in the
    // facts and returns the files.
    std::vector<PackagedFile> finish();

  private:
    // What a file is made of, beside it in files_.
    struct FileOrigin {
        const scene::Image* image;
        ImageUse use;
        ImageFacts::BakeKey key;
    };
    struct Pending {
        std::size_t file;
        std::future<std::vector<std::uint8_t>> bytes;
    };

    std::optional<std::string> makeFile(const scene::Image& image, const ImageUse& use,
                                        const ImageFacts::BakeKey& key);
    void collectBakes();
    void collectScans();
    // Downscales the files the limits do not let through; `packaged` holds the size of each
    // file, as it is packaged once this has finished.
    void fitToLimits();
    void downscale(std::size_t file, const FittedSize& fitted, std::vector<TextureSize>& packaged);
    void collectDownscales(const std::vector<FittedSize>& sizes,
                           std::vector<TextureSize>& packaged);
    void record(std::size_t file, const FittedSize& fitted, const ImageFacts::Made& made,
                std::vector<TextureSize>& packaged);

    Notes& findings_;
    ImageFacts& facts_;
    TextureLimits limits_;
    SiblingNames names_;
    std::map<ImageFacts::BakeKey, std::optional<std::string>> made_;
    std::vector<PackagedFile> files_;
    std::vector<FileOrigin> origins_;
    std::vector<Pending> pendingBakes_;
    std::vector<Pending> pendingDownscales_;
    std::map<ImageFacts::ChannelKey, std::future<bool>> pendingScans_;
    WorkPool pool_; // last: joined before the rest goes
};

} // namespace usd::writer
