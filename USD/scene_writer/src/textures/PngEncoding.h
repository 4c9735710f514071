#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace usd::writer {

// Pixels of 8 bits per channel, rows top to bottom without padding.
struct PixelPlane {
    int width = 0;
    int height = 0;
    int channels = 1; // 1 grey, 2 grey + alpha, 3 RGB, 4 RGBA
    std::span<const std::uint8_t> pixels;
};

// The pixels as a PNG file. Rows use the "sub" filter and the stream the fastest deflate
// level: on baked textures that is several times faster than slower levels and adaptive
// filters for files only a few percent larger.
std::vector<std::uint8_t> encodePng(const PixelPlane& image);

} // namespace usd::writer
