#pragma once

#include <cstdint>
#include <span>

namespace scene::detail {

// Whether every Huffman table in a JPEG stream declares at most 256 codes. The image decoder
// writes one entry per declared code into a table with room for 256 and an end mark, before any
// check of its own, so a forged table would overrun memory; such files are refused before the
// decoder sees them, even to read their size.
bool jpegHuffmanTablesFit(std::span<const std::uint8_t> jpeg);

} // namespace scene::detail
