#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace scene::detail {

// What a walk through a PNG's chunks, up to its end chunk, finds that the decoder would
// mishandle.
struct PngChunks {
    // Where the empty image data chunks start. The decoder sets aside its buffer for the
    // compressed pixels at the first image data chunk with bytes in it; an empty one before that
    // has it copy zero bytes to a buffer that does not exist yet, which is undefined behaviour.
    // Empty chunks hold nothing, so leaving them out changes no pixel.
    std::vector<std::size_t> emptyImageData;
    // Why the decoder must not see the file, or empty. For a chunk marked as needed to read the
    // image that it does not know, the decoder writes the chunk's name into one buffer that every
    // thread shares, and hands that back as its reason.
    std::string_view undecodable;
};

PngChunks inspectPng(std::span<const std::uint8_t> png);

// `png` without the empty image data chunks at `emptyChunks` (in the order they come).
std::vector<std::uint8_t> withoutEmptyChunks(std::span<const std::uint8_t> png,
                                             const std::vector<std::size_t>& emptyChunks);

} // namespace scene::detail
