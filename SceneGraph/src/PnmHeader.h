#pragma once

#include <cstdint>
#include <span>

namespace scene::detail {

// Whether the numbers in a binary PNM header (P5 or P6) fit the decoder's int; true for other
// bytes. The decoder adds up a header number's digits without checking the sum, so a longer one
// overflows, which is undefined behaviour, and even the image's size is read wrong.
bool pnmHeaderNumbersFit(std::span<const std::uint8_t> bytes);

} // namespace scene::detail
