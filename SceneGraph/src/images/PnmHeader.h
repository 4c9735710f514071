#pragma once

#include <cstdint>
#include <span>

namespace scene::detail {

// What the header of a binary PNM image (P5 or P6) says, read the way the image decoder reads it.
struct PnmHeader {
    bool isPnm = false;
    // The decoder adds up a header number's digits in an int without checking the sum, so a
    // longer one overflows, which is undefined behaviour, and even the image's size is read wrong.
    bool numbersFit = true;
    // Above 255, samples take 16 bits. The decoder then converts the channels as if they took
    // 8 and reads twice the pixels' memory when it makes them 8-bit.
    int largestSample = 0;
};

PnmHeader readPnmHeader(std::span<const std::uint8_t> bytes);

} // namespace scene::detail
