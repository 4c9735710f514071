#include "textures/ImageDownscaling.h"

#include "textures/ImageRows.h"

#include <SceneGraph/Color.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace usd::writer {
namespace {

// Per new pixel: the four channels as averaged, then (colour only) the colour times alpha.
constexpr std::size_t kSums = 7;

const std::array<float, 256>& linearTable() {
    static const std::array<float, 256> table = [] {
        std::array<float, 256> values{};
        for (std::size_t v = 0; v < values.size(); ++v)
            values[v] = scene::linearFromSRGB(static_cast<float>(v) / 255.0f);
        return values;
    }();
    return table;
}

// Fine enough that the steep start of the curve still rounds to the right level.
constexpr std::size_t kEncodeSteps = 1 << 14;

std::uint8_t encodedSRGB(float linear) {
    static const std::vector<std::uint8_t> table = [] {
        std::vector<std::uint8_t> values(kEncodeSteps + 1);
        for (std::size_t i = 0; i <= kEncodeSteps; ++i)
            values[i] = static_cast<std::uint8_t>(std::lround(
                scene::sRGBFromLinear(static_cast<float>(i) / static_cast<float>(kEncodeSteps)) *
                255));
        return values;
    }();
    const float clamped = std::clamp(linear, 0.0f, 1.0f);
    return table[static_cast<std::size_t>(std::lround(clamped * kEncodeSteps))];
}

std::uint8_t encodedUnit(float value) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255));
}

// Where one source pixel (a column, or a row) falls among the new ones: on pixel `first`
// and, when it straddles a boundary, the next one. Weights are shares of a new pixel.
struct Footprint {
    std::size_t first = 0;
    float firstWeight = 0;
    float secondWeight = 0;
};

// Source pixel i spans [i·side, (i + 1)·side) and new pixel o spans [o·sourceSide,
// (o + 1)·sourceSide), in units where both are whole; a new pixel is never narrower than a
// source pixel, so a source pixel meets at most two.
std::vector<Footprint> footprints(std::uint64_t sourceSide, std::uint64_t side) {
    std::vector<Footprint> spans(sourceSide);
    for (std::uint64_t i = 0; i < sourceSide; ++i) {
        const std::uint64_t start = i * side;
        const std::uint64_t first = start / sourceSide;
        const std::uint64_t inFirst = std::min(start + side, (first + 1) * sourceSide) - start;
        spans[i] = {first, static_cast<float>(inFirst) / static_cast<float>(sourceSide),
                    static_cast<float>(side - inFirst) / static_cast<float>(sourceSide)};
    }
    return spans;
}

// The sums of one pixel as its content is averaged.
std::array<float, kSums> sumsOf(const std::uint8_t* rgba, ImageContent content) {
    std::array<float, kSums> sums{};
    const float alpha = rgba[3] / 255.0f;
    sums[3] = alpha;
    for (std::size_t c = 0; c < 3; ++c) {
        switch (content) {
        case ImageContent::colour:
            sums[c] = linearTable()[rgba[c]];
            sums[4 + c] = sums[c] * alpha;
            break;
        case ImageContent::data:
            sums[c] = rgba[c] / 255.0f;
            break;
        case ImageContent::normal:
            sums[c] = rgba[c] / 127.5f - 1.0f;
            break;
        }
    }
    return sums;
}

void writePixel(const float* sums, ImageContent content, std::uint8_t* rgba) {
    rgba[3] = encodedUnit(sums[3]);
    if (content == ImageContent::colour) {
        // Where nothing is visible the plain average keeps the colour.
        const bool visible = sums[3] > 1e-6f;
        for (std::size_t c = 0; c < 3; ++c)
            rgba[c] = encodedSRGB(visible ? sums[4 + c] / sums[3] : sums[c]);
        return;
    }
    if (content == ImageContent::data) {
        for (std::size_t c = 0; c < 3; ++c)
            rgba[c] = encodedUnit(sums[c]);
        return;
    }
    const float length = std::sqrt(sums[0] * sums[0] + sums[1] * sums[1] + sums[2] * sums[2]);
    // Opposite directions cancel out: the surface's own normal stands in.
    const std::array<float, 3> unit =
        length > 1e-6f ? std::array{sums[0] / length, sums[1] / length, sums[2] / length}
                       : std::array{0.0f, 0.0f, 1.0f};
    for (std::size_t c = 0; c < 3; ++c)
        rgba[c] = encodedUnit((unit[c] + 1) / 2);
}

// Takes the source rows in order and writes each new row once the last source row it
// covers has come.
class AreaDownscaler {
  public:
    AreaDownscaler(TextureSize source, TextureSize size, ImageContent content)
        : source_(source), size_(size), content_(content),
          columns_(footprints(static_cast<std::uint64_t>(source.width),
                              static_cast<std::uint64_t>(size.width))),
          rows_(footprints(static_cast<std::uint64_t>(source.height),
                           static_cast<std::uint64_t>(size.height))),
          filtered_(static_cast<std::size_t>(size.width) * kSums), sums_(filtered_.size()) {
        result_.width = size.width;
        result_.height = size.height;
        result_.pixels.resize(static_cast<std::size_t>(size.width) *
                              static_cast<std::size_t>(size.height) * 4);
    }

    void addRow(std::span<const std::uint8_t> rgba) {
        if (rgba.size() != static_cast<std::size_t>(source_.width) * 4 || row_ >= rows_.size())
            throw std::runtime_error("image rows do not match its size");
        filterColumns(rgba);
        const Footprint& span = rows_[row_++];
        accumulate(span.firstWeight);
        if (span.secondWeight > 0 || row_ == rows_.size() || rows_[row_].first != span.first) {
            writeRow(span.first);
            std::ranges::fill(sums_, 0.0f);
            accumulate(span.secondWeight);
        }
    }

    scene::RGBA8Pixels finish() {
        if (row_ != rows_.size())
            throw std::runtime_error("image data ends before its last row");
        return std::move(result_);
    }

  private:
    void filterColumns(std::span<const std::uint8_t> rgba) {
        std::ranges::fill(filtered_, 0.0f);
        for (std::size_t x = 0; x < columns_.size(); ++x) {
            const Footprint& span = columns_[x];
            const std::array<float, kSums> pixel = sumsOf(rgba.data() + x * 4, content_);
            float* first = filtered_.data() + span.first * kSums;
            for (std::size_t c = 0; c < kSums; ++c)
                first[c] += span.firstWeight * pixel[c];
            if (span.secondWeight > 0)
                for (std::size_t c = 0; c < kSums; ++c)
                    first[kSums + c] += span.secondWeight * pixel[c];
        }
    }

    void accumulate(float weight) {
        if (weight > 0)
            for (std::size_t i = 0; i < sums_.size(); ++i)
                sums_[i] += weight * filtered_[i];
    }

    void writeRow(std::size_t y) {
        std::uint8_t* out = result_.pixels.data() + y * static_cast<std::size_t>(size_.width) * 4;
        for (std::size_t x = 0; x < static_cast<std::size_t>(size_.width); ++x)
            writePixel(sums_.data() + x * kSums, content_, out + x * 4);
    }

    TextureSize source_;
    TextureSize size_;
    ImageContent content_;
    std::vector<Footprint> columns_;
    std::vector<Footprint> rows_;
    std::vector<float> filtered_; // the current source row, spread over the new columns
    std::vector<float> sums_;     // the new row being gathered
    std::size_t row_ = 0;         // the next source row
    scene::RGBA8Pixels result_;
};

} // namespace

scene::RGBA8Pixels downscaled(const scene::Image& image, TextureSize size, ImageContent content) {
    const TextureSize source{image.width(), image.height()};
    if (size.width < 1 || size.height < 1 || size.width > source.width ||
        size.height > source.height)
        throw std::invalid_argument("a downscale cannot enlarge an image or empty it");
    AreaDownscaler downscaler(source, size, content);
    forEachRGBA8Row(image, [&](std::span<const std::uint8_t> row) {
        downscaler.addRow(row);
        return true;
    });
    return downscaler.finish();
}

} // namespace usd::writer
