#include "JpegHuffmanTables.h"

#include <cstddef>

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

// The tables of one DHT segment's contents: a class-and-slot byte, sixteen code counts, then
// as many symbols as the counts add up to.
bool tablesFit(std::span<const std::uint8_t> contents) {
    std::size_t at = 0;
    while (contents.size() - at >= 17) {
        std::size_t codes = 0;
        for (std::size_t length = 1; length <= 16; ++length)
            codes += contents[at + length];
        if (codes > kMaxCodes)
            return false;
        at += 17 + codes;
        if (at > contents.size())
            return true; // cut short: the decoder refuses it itself
    }
    return true;
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
        if (jpeg[at] != kMarkerStart)
            return true; // not a marker: the decoder refuses the file itself
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
        if (length < 2 || at + length > jpeg.size())
            return true;
        if (marker == kDefineHuffmanTables && !tablesFit(jpeg.subspan(at + 2, length - 2)))
            return false;
        at += length;
        if (marker == kStartOfScan)
            at = afterEntropyCodedData(jpeg, at);
    }
    return true;
}

} // namespace scene::detail
