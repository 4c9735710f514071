#pragma once

#include "Findings.h"
#include "ImageBaking.h"
#include "PrimNames.h"

#include <SceneGraph/Image.h>
#include <USD/USDZWriter.h>
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
};

// The texture files of one package: one per distinct image (and per distinct bake of it),
// with the original PNG/JPEG bytes wherever no bake is needed.
class ImageLibrary {
  public:
    explicit ImageLibrary(Findings& findings) : findings_(findings) {}

    // The package path of the file for `image` as `use` asks ("textures/wood.png"), made on
    // first request; nullopt (reported) when the image cannot be decoded for a bake.
    std::optional<std::string> fileFor(const scene::Image& image, const ImageUse& use = {});

    // Whether the chosen channel is 0 everywhere (false when the image cannot be decoded).
    bool isAllZero(const scene::Image& image, ImageChannel channel);

    const std::vector<PackagedFile>& files() const { return files_; }

  private:
    using Key = std::tuple<const void*, ImageUse::Bake, ImageChannel, double>;

    std::optional<std::string> makeFile(const scene::Image& image, const ImageUse& use);
    void noteSize(const scene::Image& image);

    Findings& findings_;
    SiblingNames names_;
    std::map<Key, std::optional<std::string>> made_;
    std::vector<PackagedFile> files_;
    std::size_t decodedBytes_ = 0;
    bool reportedTotal_ = false;
};

} // namespace usd::writer
