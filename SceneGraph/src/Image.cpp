#include "EnumNames.h"
#include "JpegHuffmanTables.h"

#include <SceneGraph/Image.h>
#include <algorithm>
#include <cstring>
#include <limits>
#include <span>
#include <stb/stb_image.h>
#include <stdexcept>
#include <string>

namespace scene {
namespace {

// Decoding allocates four bytes per pixel up front; refuse sizes no texture needs rather
// than let a forged header exhaust memory.
constexpr std::uint64_t maximumDecodedBytes = std::uint64_t{1} << 31;

ImageFormat detectFormat(std::span<const std::uint8_t> bytes) {
    static constexpr std::uint8_t pngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() >= sizeof pngSignature &&
        std::memcmp(bytes.data(), pngSignature, sizeof pngSignature) == 0) {
        return ImageFormat::png;
    }
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
        return ImageFormat::jpeg;
    }
    return ImageFormat::other;
}

// The decoder sets aside memory for every pixel a header claims before it finds out how many the
// data holds, and a damaged or short JPEG is even decoded whole, its missing blocks taken as
// empty: an image whose data could not hold the pixels it claims is refused first.
//
// Deflate, which compresses a PNG's pixels, expands its input at most 1032 times, so even at
// one bit per pixel a PNG's byte holds at most 8 × 1032 pixels.
constexpr std::uint64_t maximumDeflateExpansion = 1032;
// A JPEG codes every 8×8 block of each component in at least one bit, and its most finely
// sampled component, at worst a quarter as fine as the image in one direction, has a block for
// every 4 × 64 pixels or fewer.
constexpr std::uint64_t mostPixelsPerJpegBit = 4 * 64;
// The other formats the decoder reads expand a byte into far fewer pixels: run lengths (TGA,
// BMP, PSD, HDR, PIC) of at most 255 pixels per two bytes, and GIF's codes of at least 3 bits
// for at most 4096 pixels, which is under 12,000 pixels per byte.
constexpr std::uint64_t mostPixelsPerByteOfOtherFormats = 12'000;

bool dataCanHoldPixels(ImageFormat format, std::uint64_t pixels, std::size_t encodedSize) {
    switch (format) {
    case ImageFormat::png:
        return pixels / 8 <= maximumDeflateExpansion * encodedSize;
    case ImageFormat::jpeg:
        return pixels / mostPixelsPerJpegBit / 8 <= encodedSize;
    case ImageFormat::other:
        return pixels / mostPixelsPerByteOfOtherFormats <= encodedSize;
    }
    return true;
}

// The decoder reads a JPEG after any number of fill bytes (0xFF) before its start marker, so
// its tables must be checked on such bytes too, whatever format they are otherwise taken for.
bool decoderReadsAsJpeg(std::span<const std::uint8_t> bytes) {
    const auto marker =
        std::find_if(bytes.begin(), bytes.end(), [](std::uint8_t byte) { return byte != 0xFF; });
    return marker != bytes.begin() && marker != bytes.end() && *marker == 0xD8;
}

bool lengthFitsDecoder(std::span<const std::uint8_t> bytes) {
    return bytes.size() <= static_cast<std::size_t>(std::numeric_limits<int>::max());
}

} // namespace

Image::Image(Bytes encoded, int width, int height, int channels)
    : encoded_(std::move(encoded)), width_(width), height_(height), channels_(channels),
      format_(detectFormat(encoded_->span())) {}

std::shared_ptr<Image> Image::fromEncodedBytes(Bytes encoded) {
    if (!encoded || encoded->empty() || !lengthFitsDecoder(encoded->span())) {
        return nullptr;
    }
    if (decoderReadsAsJpeg(encoded->span()) && !detail::jpegHuffmanTablesFit(encoded->span())) {
        return nullptr;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    if (stbi_info_from_memory(encoded->data(), static_cast<int>(encoded->size()), &width, &height,
                              &channels) == 0 ||
        width <= 0 || height <= 0) {
        return nullptr;
    }
    return std::shared_ptr<Image>(new Image(std::move(encoded), width, height, channels));
}

RGBA8Pixels Image::decodeRGBA8() const {
    const std::uint64_t pixelCount =
        static_cast<std::uint64_t>(width_) * static_cast<std::uint64_t>(height_);
    const std::uint64_t decodedBytes = 4 * pixelCount;
    if (!dataCanHoldPixels(format_, pixelCount, encoded_->size())) {
        throw std::runtime_error("image of " + std::to_string(width_) + "x" +
                                 std::to_string(height_) +
                                 " pixels claims more than its data can hold");
    }
    if (decodedBytes > maximumDecodedBytes) {
        throw std::runtime_error("image of " + std::to_string(width_) + "x" +
                                 std::to_string(height_) + " pixels is too large to decode");
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(encoded_->data(), static_cast<int>(encoded_->size()),
                                            &width, &height, &channels, 4);
    if (pixels == nullptr) {
        throw std::runtime_error(std::string("image cannot be decoded: ") + stbi_failure_reason());
    }
    RGBA8Pixels result{width, height, {}};
    result.pixels.assign(pixels, pixels + std::size_t{4} * static_cast<std::size_t>(width) *
                                              static_cast<std::size_t>(height));
    stbi_image_free(pixels);
    return result;
}

std::string_view imageFormatName(ImageFormat value) {
    static constexpr std::array<std::string_view, 3> names = {"png", "jpeg", "other"};
    return detail::enumName(names, value);
}

} // namespace scene
