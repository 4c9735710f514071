#include "JpegHuffmanTables.h"

#include <cstddef>
#include <optional>

namespace scene::detail {
namespace {

constexpr std::uint8_t kMarkerStart = 0xFF;
constexpr std::uint8_t kDefineHuffmanTables = 0xC4;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kEndOfImage = 0xD9;
constexpr std::size_t kMaxCodes = 256;

// Markers that stand alone, without a length: the start of the image, restarts and TEM.
bool standsAlone(std::uint8_t marker) {
    return marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// Reads the tables of the DHT segment whose contents start at `at` as the decoder does: while
// the segment's declared length lasts, each table whole, even past the segment's end (and past
// the file's end, where bytes read as zero). Returns where the decoder's reading ends, or
// nothing when a table declares too many codes.
std::optional<std::size_t> tablesEnd(std::span<const std::uint8_t> jpeg, std::size_t at,
                                     std::size_t length) {
    const auto byteAt = [&](std::size_t index) -> std::size_t {
        return index < jpeg.size() ? jpeg[index] : 0;
    };
    const std::size_t end = at + length;
    while (at < end) {
        const std::size_t slot = byteAt(at);
        if ((slot >> 4) > 1 || (slot & 15) > 3)
            return jpeg.size(); // the decoder refuses the table itself
        std::size_t codes = 0;
        for (std::size_t bits = 1; bits <= 16; ++bits)
            codes += byteAt(at + bits);
        if (codes > kMaxCodes)
            return std::nullopt;
        at += 17 + codes;
    }
    return at;
}

// Where the next marker starts after entropy-coded data at `at`: there a marker byte is always
// followed by zero (a stuffed byte) or a restart.
std::size_t afterEntropyCodedData(std::span<const std::uint8_t> jpeg, std::size_t at) {
    for (; at + 1 < jpeg.size(); ++at) {
        const std::uint8_t next = jpeg[at + 1];
        if (jpeg[at] == kMarkerStart && next != 0 && !(next >= 0xD0 && next <= 0xD7))
            return at;
    }
    return jpeg.size();
}

} // namespace

bool jpegHuffmanTablesFit(std::span<const std::uint8_t> jpeg) {
    std::size_t at = 2; // after the start of the image
    while (at + 1 < jpeg.size()) {
        if (jpeg[at] != kMarkerStart) {
            ++at; // padding after a segment, which the decoder skips to find the next marker
            continue;
        }
        const std::uint8_t marker = jpeg[at + 1];
        at += 2;
        if (marker == kMarkerStart) {
            --at; // fill bytes before a marker
            continue;
        }
        if (marker == kEndOfImage)
            return true;
        if (standsAlone(marker))
            continue;
        if (at + 2 > jpeg.size())
            return true;
        const std::size_t length = std::size_t{jpeg[at]} << 8 | jpeg[at + 1];
        if (length < 2)
            return true;
        if (marker == kDefineHuffmanTables) {
            const std::optional<std::size_t> end = tablesEnd(jpeg, at + 2, length - 2);
            if (!end)
                return false;
            at = *end;
            continue;
        }
        if (at + length > jpeg.size())
            return true;
        at += length;
        if (marker == kStartOfScan)
            at = afterEntropyCodedData(jpeg, at);
    }
    return true;
}

} // namespace scene::detail
