#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace scene::detail {

// What a walk through a JPEG's segments, read the way the image decoder reads them, finds that
// the decoder would mishandle.
struct JpegFaults {
    // A Huffman table declares more than 256 codes. The decoder writes one entry per declared
    // code into a table with room for 256 and an end mark, before any check of its own, so such
    // a file would overrun memory even when only its size is read.
    bool huffmanTableOverflows = false;
    // Why a full decode would read memory the file never set, or empty. The decoder keeps its
    // tables in memory it does not clear: a scan that uses a Huffman or quantization table not
    // defined before it reads whatever that memory held (a Huffman table's entries are used as
    // positions, so reads go anywhere), and a component no scan codes is left as it was.
    std::string_view undecodable;
};

JpegFaults inspectJpeg(std::span<const std::uint8_t> jpeg);

} // namespace scene::detail
