#pragma once

#include "PreparedScene.h"

#include <cstdint>
#include <future>
#include <memory>
#include <optional>
#include <vector>

namespace scene {
class Image;
}

namespace brightfold::preview {

/// Images of a source scene decoded while it is being converted: an image the package keeps
/// byte for byte is found here by its bytes when the package is read back. Only copies of the
/// encoded bytes are kept, not the images, whose bytes may hold the whole source file.
class ImagesDecodedAhead {
  public:
    ImagesDecodedAhead() = default;
    /// Starts decoding `images` on a thread of their own.
    explicit ImagesDecodedAhead(std::vector<std::shared_ptr<scene::Image>> images);

    /// The pixels of the image decoded ahead whose encoded bytes are those of `image`, waiting
    /// for the decoding to end if need be; none when there is no such image.
    std::optional<PreparedTexture> pixelsFor(const scene::Image& image) const;

  private:
    std::vector<std::vector<std::uint8_t>> encoded_;
    /// In the order of `encoded_`.
    std::shared_future<std::vector<PreparedTexture>> decoded_;
};

/// Keeps `ahead` for the next read-back, replacing what was kept before.
void keepDecodedAhead(ImagesDecodedAhead ahead);

/// What was kept, taken away (nothing is kept afterwards).
ImagesDecodedAhead takeDecodedAhead();

} // namespace brightfold::preview
