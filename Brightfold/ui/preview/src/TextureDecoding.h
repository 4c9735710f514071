#pragma once

#include <QByteArray>
#include <QSize>

namespace scene {
class Image;
}

namespace brightfold::preview {

/// An image's pixels as the renderer uploads them: RGBA, 8 bits per channel, rows top to bottom
/// (the first row meets texture coordinate v = 0, as scenes expect).
struct DecodedTexture {
    QByteArray rgba;
    QSize size;
    /// Whether any pixel is less than fully opaque.
    bool hasTransparency = false;
};

/// Decodes `image`. Fails with std::runtime_error when its bytes are damaged.
DecodedTexture decodeTexture(const scene::Image& image);

} // namespace brightfold::preview
