#include "textures/ImageRows.h"

#include <memory>
#include <spng.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace usd::writer {
namespace {

// The same bound as a whole decode: a forged header must not make us allocate gigabytes.
constexpr std::uint64_t largestDecodedBytes = std::uint64_t{1} << 31;

using Decoder = std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)>;

void check(int status) {
    if (status != 0)
        throw std::runtime_error(std::string("image cannot be decoded: ") + spng_strerror(status));
}

void visitWholeImage(const scene::Image& image, const RGBA8RowVisitor& visit) {
    const scene::RGBA8Pixels rgba = image.decodeRGBA8();
    const std::size_t stride = static_cast<std::size_t>(rgba.width) * 4;
    const std::span<const std::uint8_t> pixels(rgba.pixels);
    for (std::size_t at = 0; at + stride <= pixels.size(); at += stride)
        if (!visit(pixels.subspan(at, stride)))
            return;
}

// Checksums are not enforced: a file other readers open must bake as well.
Decoder pngDecoder(const scene::Image& image) {
    Decoder decoder(spng_ctx_new(0), spng_ctx_free);
    if (!decoder)
        throw std::runtime_error("no memory to decode the image");
    check(spng_set_crc_action(decoder.get(), SPNG_CRC_USE, SPNG_CRC_USE));
    check(spng_set_png_buffer(decoder.get(), image.encodedBytes()->data(),
                              image.encodedBytes()->size()));
    return decoder;
}

spng_ihdr headerOf(spng_ctx* decoder) {
    spng_ihdr header{};
    check(spng_get_ihdr(decoder, &header));
    return header;
}

void visitPngRows(spng_ctx* decoder, std::size_t stride, const RGBA8RowVisitor& visit) {
    check(spng_decode_image(decoder, nullptr, 0, SPNG_FMT_RGBA8,
                            SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE));
    std::vector<std::uint8_t> row(stride);
    for (;;) {
        const int status = spng_decode_row(decoder, row.data(), row.size());
        if (status != 0 && status != SPNG_EOI)
            check(status);
        if (!visit(row) || status == SPNG_EOI)
            return;
    }
}

} // namespace

void forEachRGBA8Row(const scene::Image& image, const RGBA8RowVisitor& visit) {
    const std::uint64_t decodedBytes = std::uint64_t{4} *
                                       static_cast<std::uint64_t>(image.width()) *
                                       static_cast<std::uint64_t>(image.height());
    if (decodedBytes > largestDecodedBytes)
        throw std::runtime_error("image of " + std::to_string(image.width()) + "x" +
                                 std::to_string(image.height()) + " pixels is too large to decode");
    if (image.format() != scene::ImageFormat::png || !image.encodedBytes()) {
        visitWholeImage(image, visit);
        return;
    }
    const Decoder decoder = pngDecoder(image);
    const spng_ihdr header = headerOf(decoder.get());
    // Rows of an interlaced file arrive in passes; it is decoded whole.
    if (header.interlace_method != 0) {
        visitWholeImage(image, visit);
        return;
    }
    visitPngRows(decoder.get(), std::size_t{header.width} * 4, visit);
}

} // namespace usd::writer
