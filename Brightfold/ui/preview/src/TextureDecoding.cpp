#include "TextureDecoding.h"

#include <SceneGraph/Image.h>

namespace brightfold::preview {

DecodedTexture decodeTexture(const scene::Image& image) {
    const scene::RGBA8Pixels pixels = image.decodeRGBA8();
    DecodedTexture texture;
    texture.size = QSize(pixels.width, pixels.height);
    texture.rgba = QByteArray(reinterpret_cast<const char*>(pixels.pixels.data()),
                              static_cast<qsizetype>(pixels.pixels.size()));
    for (std::size_t alpha = 3; alpha < pixels.pixels.size(); alpha += 4) {
        if (pixels.pixels[alpha] != 0xFF) {
            texture.hasTransparency = true;
            break;
        }
    }
    return texture;
}

} // namespace brightfold::preview
