#include "images/PngChunks.h"

#include <algorithm>
#include <array>

namespace scene::detail {
namespace {

constexpr std::size_t kSignatureSize = 8;
// A chunk's length and type before its data, its checksum after.
constexpr std::size_t kChunkFraming = 12;
using ChunkType = std::array<std::uint8_t, 4>;
constexpr ChunkType kImageData{'I', 'D', 'A', 'T'};
constexpr ChunkType kImageEnd{'I', 'E', 'N', 'D'};
// The chunks needed to read an image that the decoder knows: the header, the palette, the image
// data and its end, and the variant of one phone maker.
constexpr std::array<ChunkType, 5> kKnownCritical{
    {{'I', 'H', 'D', 'R'}, {'P', 'L', 'T', 'E'}, kImageData, kImageEnd, {'C', 'g', 'B', 'I'}}};

std::uint64_t readLength(std::span<const std::uint8_t> png, std::size_t at) {
    return std::uint64_t{png[at]} << 24 | std::uint64_t{png[at + 1]} << 16 |
           std::uint64_t{png[at + 2]} << 8 | png[at + 3];
}

ChunkType typeAt(std::span<const std::uint8_t> png, std::size_t at) {
    return {png[at + 4], png[at + 5], png[at + 6], png[at + 7]};
}

// A chunk whose type starts with a capital letter is needed to read the image.
bool isCritical(const ChunkType& type) {
    return (type[0] & 0x20) == 0;
}

} // namespace

PngChunks inspectPng(std::span<const std::uint8_t> png) {
    PngChunks found;
    std::size_t at = kSignatureSize;
    while (at + kChunkFraming <= png.size()) {
        const ChunkType type = typeAt(png, at);
        const std::uint64_t length = readLength(png, at);
        if (type == kImageEnd)
            break;
        if (type == kImageData && length == 0)
            found.emptyImageData.push_back(at);
        if (isCritical(type) && std::ranges::find(kKnownCritical, type) == kKnownCritical.end()) {
            found.undecodable = "the PNG needs a kind of chunk the decoder does not know";
            break;
        }
        if (length > png.size() - at - kChunkFraming)
            break;
        at += kChunkFraming + static_cast<std::size_t>(length);
    }
    return found;
}

std::vector<std::uint8_t> withoutEmptyChunks(std::span<const std::uint8_t> png,
                                             const std::vector<std::size_t>& emptyChunks) {
    std::vector<std::uint8_t> kept;
    kept.reserve(png.size() - emptyChunks.size() * kChunkFraming);
    std::size_t from = 0;
    for (const std::size_t chunk : emptyChunks) {
        kept.insert(kept.end(), png.begin() + static_cast<std::ptrdiff_t>(from),
                    png.begin() + static_cast<std::ptrdiff_t>(chunk));
        from = chunk + kChunkFraming;
    }
    kept.insert(kept.end(), png.begin() + static_cast<std::ptrdiff_t>(from), png.end());
    return kept;
}

} // namespace scene::detail
