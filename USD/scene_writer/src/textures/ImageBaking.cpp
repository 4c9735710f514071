#include "textures/ImageBaking.h"

#include "textures/ImageRows.h"
#include "textures/PngEncoding.h"
#include "textures/TextureEncoding.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

namespace usd::writer {
namespace {

using ValueMap = std::array<std::uint8_t, 256>;

// `map` (0…1 to 0…1) for every 8-bit value, rounded as the file stores it: the bake is then
// one table look-up per pixel.
ValueMap tabulate(const std::function<double(double)>& map) {
    ValueMap table{};
    for (std::size_t value = 0; value < table.size(); ++value)
        table[value] = static_cast<std::uint8_t>(
            std::lround(std::clamp(map(static_cast<double>(value) / 255.0), 0.0, 1.0) * 255.0));
    return table;
}

// A one-channel image whose value is `map` of the chosen channel.
std::vector<std::uint8_t> bakeGrey(const scene::Image& image, ImageChannel channel,
                                   const std::function<double(double)>& map) {
    const ValueMap table = tabulate(map);
    const auto offset = static_cast<std::size_t>(channel);
    std::vector<std::uint8_t> grey(static_cast<std::size_t>(image.width()) *
                                   static_cast<std::size_t>(image.height()));
    std::size_t filled = 0;
    forEachRGBA8Row(image, [&](std::span<const std::uint8_t> row) {
        const std::size_t width = std::min(row.size() / 4, grey.size() - filled);
        std::uint8_t* out = grey.data() + filled;
        for (std::size_t x = 0; x < width; ++x)
            out[x] = table[row[x * 4 + offset]];
        filled += width;
        return true;
    });
    return encodePng({image.width(), image.height(), 1, grey});
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
    const scene::RGBA8Pixels rgba = image.decodeRGBA8();
    return encodeTexture(rgba, isOpaque(rgba) ? 3 : 4, TextureFormat::png);
}

bool isChannelAllZero(const scene::Image& image, ImageChannel channel) {
    const auto offset = static_cast<std::size_t>(channel);
    bool allZero = true;
    forEachRGBA8Row(image, [&](std::span<const std::uint8_t> row) {
        for (std::size_t at = offset; at < row.size() && allZero; at += 4)
            allZero = row[at] == 0;
        return allZero;
    });
    return allZero;
}

} // namespace usd::writer
