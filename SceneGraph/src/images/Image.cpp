#include "EnumNames.h"
#include "images/JpegStructure.h"
#include "images/PngChunks.h"
#include "images/PnmHeader.h"

#include <SceneGraph/Image.h>
#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <span>
#include <stb/stb_image.h>
#include <stdexcept>
#include <string>
#include <vector>

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

// The decoder gives up on some damage without saying why: its reason is then null or empty.
std::string decoderFailure() {
    const char* reason = stbi_failure_reason();
    return std::string("image cannot be decoded: ") +
           (reason != nullptr && *reason != '\0' ? reason : "the data is damaged");
}

bool lengthFitsDecoder(std::span<const std::uint8_t> bytes) {
    return bytes.size() <= static_cast<std::size_t>(std::numeric_limits<int>::max());
}

void throwUndecodable(std::string_view fault) {
    if (!fault.empty())
        throw std::runtime_error("image cannot be decoded: " + std::string(fault));
}

// The bytes to hand the decoder when they differ from the file's (a PNG's without its empty
// image data chunks). Throws for a file the decoder would mishandle.
std::optional<std::vector<std::uint8_t>> preparedForDecoder(ImageFormat format,
                                                            std::span<const std::uint8_t> bytes) {
    if (decoderReadsAsJpeg(bytes)) {
        throwUndecodable(detail::inspectJpeg(bytes).undecodable);
        return std::nullopt;
    }
    if (detail::readPnmHeader(bytes).largestSample > 255)
        throwUndecodable("the decoder misreads PNM images of 16 bits a sample");
    if (format != ImageFormat::png)
        return std::nullopt;
    const detail::PngChunks chunks = detail::inspectPng(bytes);
    throwUndecodable(chunks.undecodable);
    if (chunks.emptyImageData.empty())
        return std::nullopt;
    return detail::withoutEmptyChunks(bytes, chunks.emptyImageData);
}

} // namespace

Image::Image(Bytes encoded, int width, int height, int channels)
    : encoded_(std::move(encoded)), width_(width), height_(height), channels_(channels),
      format_(detectFormat(encoded_->span())) {}

std::shared_ptr<Image> Image::fromEncodedBytes(Bytes encoded) {
    if (!encoded || encoded->empty() || !lengthFitsDecoder(encoded->span())) {
        return nullptr;
    }
    if (decoderReadsAsJpeg(encoded->span()) &&
        detail::inspectJpeg(encoded->span()).huffmanTableOverflows) {
        return nullptr;
    }
    if (!detail::readPnmHeader(encoded->span()).numbersFit) {
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

void Image::checkSize() const {
    const std::uint64_t pixelCount =
        static_cast<std::uint64_t>(width_) * static_cast<std::uint64_t>(height_);
    if (!dataCanHoldPixels(format_, pixelCount, encoded_->size())) {
        throw std::runtime_error("image of " + std::to_string(width_) + "x" +
                                 std::to_string(height_) +
                                 " pixels claims more than its data can hold");
    }
    if (4 * pixelCount > maximumDecodedBytes) {
        throw std::runtime_error("image of " + std::to_string(width_) + "x" +
                                 std::to_string(height_) + " pixels is too large to decode");
    }
}

RGBA8Pixels Image::decodeRGBA8() const {
    checkSize();
    const std::optional<std::vector<std::uint8_t>> prepared =
        preparedForDecoder(format_, encoded_->span());
    const std::span<const std::uint8_t> input = prepared ? *prepared : encoded_->span();
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(input.data(), static_cast<int>(input.size()), &width,
                                            &height, &channels, 4);
    if (pixels == nullptr) {
        throw std::runtime_error(decoderFailure());
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
