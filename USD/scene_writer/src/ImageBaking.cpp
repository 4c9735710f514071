#include "ImageBaking.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <stb/stb_image_write.h>
#include <stdexcept>

namespace usd::writer {
namespace {

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

std::vector<std::uint8_t> encodePng(int width, int height, int channels,
                                    const std::vector<std::uint8_t>& pixels) {
    std::vector<std::uint8_t> png;
    if (stbi_write_png_to_func(appendBytes, &png, width, height, channels, pixels.data(),
                               width * channels) == 0)
        throw std::runtime_error("the image could not be encoded as PNG");
    return png;
}

// A one-channel image whose value is `map` of the chosen channel (both in 0…1).
std::vector<std::uint8_t> bakeGrey(const scene::Image& image, ImageChannel channel,
                                   const std::function<double(double)>& map) {
    const scene::RGBA8Pixels rgba = image.decodeRGBA8();
    const std::size_t pixelCount = rgba.pixels.size() / 4;
    std::vector<std::uint8_t> grey(pixelCount);
    for (std::size_t p = 0; p < pixelCount; ++p) {
        const double value = map(rgba.pixels[p * 4 + static_cast<int>(channel)] / 255.0);
        grey[p] = static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
    }
    return encodePng(rgba.width, rgba.height, 1, grey);
}

} // namespace

std::vector<std::uint8_t> bakeOcclusionStrength(const scene::Image& image, ImageChannel channel,
                                                double strength) {
    return bakeGrey(image, channel, [strength](double ao) { return 1.0 + strength * (ao - 1.0); });
}

std::vector<std::uint8_t> bakeRoughnessFromGlossiness(const scene::Image& image,
                                                      ImageChannel channel,
                                                      double glossinessFactor) {
    return bakeGrey(image, channel,
                    [glossinessFactor](double gloss) { return 1.0 - glossinessFactor * gloss; });
}

std::vector<std::uint8_t> reencodeAsPng(const scene::Image& image) {
    scene::RGBA8Pixels rgba = image.decodeRGBA8();
    bool opaque = true;
    for (std::size_t p = 3; p < rgba.pixels.size(); p += 4)
        opaque = opaque && rgba.pixels[p] == 255;
    if (!opaque)
        return encodePng(rgba.width, rgba.height, 4, rgba.pixels);
    std::vector<std::uint8_t> rgb;
    rgb.reserve(rgba.pixels.size() / 4 * 3);
    for (std::size_t p = 0; p < rgba.pixels.size(); p += 4)
        rgb.insert(rgb.end(), rgba.pixels.begin() + static_cast<std::ptrdiff_t>(p),
                   rgba.pixels.begin() + static_cast<std::ptrdiff_t>(p + 3));
    return encodePng(rgba.width, rgba.height, 3, rgb);
}

bool isChannelAllZero(const scene::Image& image, ImageChannel channel) {
    const scene::RGBA8Pixels rgba = image.decodeRGBA8();
    for (std::size_t p = static_cast<std::size_t>(channel); p < rgba.pixels.size(); p += 4)
        if (rgba.pixels[p] != 0)
            return false;
    return true;
}

} // namespace usd::writer
