#pragma once

#include <SceneGraph/Bytes.h>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scene {

enum class ImageFormat { png, jpeg, other };

/// Decoded pixels, four bytes (R, G, B, A) per pixel, rows top to bottom.
struct RGBA8Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

/// A texture image. It keeps the encoded file bytes (so PNG and JPEG data pass through to the
/// package unchanged) and only reads the header on construction; decoding is on demand.
class Image {
  public:
    /// An image for encoded bytes whose header the decoder understands, or null when the bytes
    /// are no image it knows.
    static std::shared_ptr<Image> fromEncodedBytes(Bytes encoded);

    const Bytes& encodedBytes() const { return encoded_; }
    int width() const { return width_; }
    int height() const { return height_; }
    /// Channels stored in the file (1 grey, 2 grey + alpha, 3 RGB, 4 RGBA).
    int channels() const { return channels_; }
    ImageFormat format() const { return format_; }

    /// An optional name (for example the file name it came from).
    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }

    /// Decodes the whole image. Fails with std::runtime_error when the data is damaged past
    /// its header or the image is too large to hold in memory.
    RGBA8Pixels decodeRGBA8() const;

  private:
    Image(Bytes encoded, int width, int height, int channels);
    // Refuses images whose pixels could not fit in memory or in their data.
    void checkSize() const;

    Bytes encoded_;
    int width_;
    int height_;
    int channels_;
    ImageFormat format_;
    std::string name_;
};

std::string_view imageFormatName(ImageFormat format);

} // namespace scene
