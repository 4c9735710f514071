#include "textures/PngEncoding.h"

#include <array>
#include <cstring>
#include <libdeflate.h>
#include <memory>
#include <stdexcept>
#include <string_view>

namespace usd::writer {
namespace {

constexpr int compressionLevel = 1;
constexpr std::uint8_t subFilter = 1;

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void appendChunk(std::vector<std::uint8_t>& out, std::string_view type,
                 std::span<const std::uint8_t> data) {
    appendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    appendBigEndian(out, libdeflate_crc32(0, out.data() + typeAt, out.size() - typeAt));
}

std::uint8_t colourType(int channels) {
    static constexpr std::array<std::uint8_t, 4> types = {0, 4, 2, 6};
    return types.at(static_cast<std::size_t>(channels - 1));
}

std::array<std::uint8_t, 13> headerOf(const PixelPlane& image) {
    std::array<std::uint8_t, 13> header{};
    for (int i = 0; i < 4; ++i) {
        header[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(static_cast<std::uint32_t>(image.width) >> (24 - 8 * i));
        header[static_cast<std::size_t>(4 + i)] =
            static_cast<std::uint8_t>(static_cast<std::uint32_t>(image.height) >> (24 - 8 * i));
    }
    header[8] = 8; // bits per channel
    header[9] = colourType(image.channels);
    return header; // deflate, adaptive filtering, not interlaced: all 0
}

// Each row as its filter byte and the differences to the pixel on its left (a loop without
// a carried dependency, which the compiler vectorises).
std::vector<std::uint8_t> filteredRows(const PixelPlane& image) {
    const std::size_t stride =
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.channels);
    const std::size_t step = static_cast<std::size_t>(image.channels);
    std::vector<std::uint8_t> rows((stride + 1) * static_cast<std::size_t>(image.height));
    for (std::size_t y = 0; y < static_cast<std::size_t>(image.height); ++y) {
        std::uint8_t* out = rows.data() + y * (stride + 1);
        const std::uint8_t* in = image.pixels.data() + y * stride;
        out[0] = subFilter;
        std::memcpy(out + 1, in, step);
        for (std::size_t i = step; i < stride; ++i)
            out[1 + i] = static_cast<std::uint8_t>(in[i] - in[i - step]);
    }
    return rows;
}

std::vector<std::uint8_t> zlibStream(std::span<const std::uint8_t> data) {
    const std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor(
        libdeflate_alloc_compressor(compressionLevel), libdeflate_free_compressor);
    if (!compressor)
        throw std::runtime_error("no memory to compress the image");
    std::vector<std::uint8_t> stream(libdeflate_zlib_compress_bound(compressor.get(), data.size()));
    const std::size_t size = libdeflate_zlib_compress(compressor.get(), data.data(), data.size(),
                                                      stream.data(), stream.size());
    if (size == 0)
        throw std::runtime_error("the image could not be compressed");
    stream.resize(size);
    return stream;
}

} // namespace

std::vector<std::uint8_t> encodePng(const PixelPlane& image) {
    if (image.width <= 0 || image.height <= 0 || image.channels < 1 || image.channels > 4 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) *
                                   static_cast<std::size_t>(image.height) *
                                   static_cast<std::size_t>(image.channels))
        throw std::invalid_argument("pixels do not match the image size");
    const std::vector<std::uint8_t> stream = zlibStream(filteredRows(image));
    static constexpr std::array<std::uint8_t, 8> signature = {0x89, 'P',  'N',  'G',
                                                              '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> png(signature.begin(), signature.end());
    png.reserve(stream.size() + 64);
    appendChunk(png, "IHDR", headerOf(image));
    appendChunk(png, "IDAT", stream);
    appendChunk(png, "IEND", {});
    return png;
}

} // namespace usd::writer
