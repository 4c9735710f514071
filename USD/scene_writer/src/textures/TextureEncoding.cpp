#include "textures/TextureEncoding.h"

#include "textures/PngEncoding.h"

#include <array>
#include <stb/stb_image_write.h>
#include <stdexcept>

namespace usd::writer {
namespace {

constexpr int jpegQuality = 90;

// Which RGBA channels each kept channel count takes.
std::vector<std::size_t> channelsTaken(int channels) {
    switch (channels) {
    case 1:
        return {0};
    case 2:
        return {0, 3};
    case 3:
        return {0, 1, 2};
    case 4:
        return {0, 1, 2, 3};
    default:
        throw std::invalid_argument("a texture has 1 to 4 channels");
    }
}

std::vector<std::uint8_t> keptChannels(const scene::RGBA8Pixels& rgba, int channels) {
    const std::vector<std::size_t> taken = channelsTaken(channels);
    if (taken.size() == 4)
        return rgba.pixels;
    std::vector<std::uint8_t> kept;
    kept.reserve(rgba.pixels.size() / 4 * taken.size());
    for (std::size_t p = 0; p + 4 <= rgba.pixels.size(); p += 4)
        for (const std::size_t c : taken)
            kept.push_back(rgba.pixels[p + c]);
    return kept;
}

void appendBytes(void* context, void* data, int size) {
    auto& out = *static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out.insert(out.end(), bytes, bytes + size);
}

std::vector<std::uint8_t> encodeJpeg(const scene::RGBA8Pixels& rgba, int channels) {
    const int kept = channels < 3 ? 1 : 3;
    const std::vector<std::uint8_t> pixels = keptChannels(rgba, kept);
    std::vector<std::uint8_t> jpeg;
    if (stbi_write_jpg_to_func(appendBytes, &jpeg, rgba.width, rgba.height, kept, pixels.data(),
                               jpegQuality) == 0)
        throw std::runtime_error("the image could not be encoded as JPEG");
    return jpeg;
}

} // namespace

bool isOpaque(const scene::RGBA8Pixels& rgba) {
    for (std::size_t p = 3; p < rgba.pixels.size(); p += 4)
        if (rgba.pixels[p] != 255)
            return false;
    return true;
}

std::vector<std::uint8_t> encodeTexture(const scene::RGBA8Pixels& rgba, int channels,
                                        TextureFormat format) {
    if (format == TextureFormat::jpeg)
        return encodeJpeg(rgba, channels);
    const std::vector<std::uint8_t> pixels = keptChannels(rgba, channels);
    return encodePng({rgba.width, rgba.height, channels, pixels});
}

} // namespace usd::writer
