#include <BoundedRun.h>
#include <SceneGraph/Image.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <stb/stb_image_write.h>

namespace scene {
namespace {

void appendToVector(void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* first = static_cast<const std::uint8_t*>(data);
    bytes->insert(bytes->end(), first, first + size);
}

/// A 2×3 RGBA image whose pixel i has red = 10·i, green = 255, blue = 0, alpha = 128.
std::vector<std::uint8_t> samplePixels() {
    std::vector<std::uint8_t> pixels;
    for (std::uint8_t i = 0; i < 6; ++i) {
        pixels.insert(pixels.end(), {std::uint8_t(10 * i), 255, 0, 128});
    }
    return pixels;
}

Bytes encodedPNG() {
    std::vector<std::uint8_t> png;
    const auto pixels = samplePixels();
    stbi_write_png_to_func(appendToVector, &png, 2, 3, 4, pixels.data(), 2 * 4);
    return makeBytes(std::move(png));
}

Bytes encodedJPEG() {
    std::vector<std::uint8_t> jpeg;
    const auto pixels = samplePixels();
    stbi_write_jpg_to_func(appendToVector, &jpeg, 2, 3, 4, pixels.data(), 90);
    return makeBytes(std::move(jpeg));
}

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return makeBytes(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {}));
}

TEST(Image, KeepsEncodedBytesAndReadsTheHeader) {
    const Bytes png = encodedPNG();
    const auto image = Image::fromEncodedBytes(png);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->encodedBytes(), png) << "the bytes are kept, not re-encoded";
    EXPECT_EQ(image->width(), 2);
    EXPECT_EQ(image->height(), 3);
    EXPECT_EQ(image->channels(), 4);
    EXPECT_EQ(image->format(), ImageFormat::png);

    const auto jpeg = Image::fromEncodedBytes(encodedJPEG());
    ASSERT_NE(jpeg, nullptr);
    EXPECT_EQ(jpeg->format(), ImageFormat::jpeg);
    EXPECT_EQ(jpeg->width(), 2);
}

TEST(Image, DecodesToRGBA) {
    const auto decoded = Image::fromEncodedBytes(encodedPNG())->decodeRGBA8();
    EXPECT_EQ(decoded.width, 2);
    EXPECT_EQ(decoded.height, 3);
    EXPECT_EQ(decoded.pixels, samplePixels());
}

TEST(Image, BytesThatAreNoImageGiveNothing) {
    EXPECT_EQ(Image::fromEncodedBytes(nullptr), nullptr);
    EXPECT_EQ(Image::fromEncodedBytes(makeBytes({})), nullptr);
    EXPECT_EQ(Image::fromEncodedBytes(makeBytes({'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm'})),
              nullptr);
    const Bytes png = encodedPNG();
    EXPECT_EQ(Image::fromEncodedBytes(makeBytes({png->begin(), png->begin() + 12})), nullptr)
        << "a signature without a header";
}

TEST(Image, DamageBehindAValidHeaderIsReportedWhenDecoding) {
    const Bytes png = encodedPNG();
    // Signature and header chunk survive; the pixel data is cut off.
    const auto image = Image::fromEncodedBytes(makeBytes({png->begin(), png->begin() + 40}));
    ASSERT_NE(image, nullptr);
    EXPECT_THROW(image->decodeRGBA8(), std::runtime_error);
}

// A few hundred bytes whose header claims an image of gigabytes: refused without decoding when
// it is larger than any texture we hold, and otherwise refused once the data runs out, without
// the pixels claimed ever being touched.
TEST(Image, AHeaderClaimingGigabytesIsRefusedAtOnce) {
    for (const std::uint32_t side : {60'000u, 16'000u}) {
        std::vector<std::uint8_t> png(encodedPNG()->begin(), encodedPNG()->end());
        for (const std::size_t field : {16u, 20u}) { // the header's width and height, big-endian
            for (int byte = 0; byte < 4; ++byte)
                png[field + static_cast<std::size_t>(byte)] =
                    static_cast<std::uint8_t>(side >> (24 - 8 * byte));
        }
        const auto image = Image::fromEncodedBytes(makeBytes(std::move(png)));
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width(), static_cast<int>(side));
        std::string failure;
        const auto run = brightfold::testing::measureBounded([&] {
            try {
                image->decodeRGBA8();
            } catch (const std::runtime_error& error) {
                failure = error.what();
            }
        });
        EXPECT_NE(failure, "") << side;
        EXPECT_LT(run.processorTime.count(), 1.0) << failure;
        EXPECT_LT(run.peakMemoryGrowthMiB, 64.0) << failure;
    }
}

TEST(Image, ReadsRealTextureFiles) {
    const std::filesystem::path corpus = std::filesystem::path(BRIGHTFOLD_SHARED_DIR) / "corpus";
    const auto png = corpus / "glb/box-textured-binary-separate/cesium.png";
    const auto jpeg = corpus / "gltf/InterpolationTest/l.jpg";
    if (!std::filesystem::exists(png) || !std::filesystem::exists(jpeg)) {
        GTEST_SKIP() << "../shared not found: " << corpus;
    }
    for (const auto& path : {png, jpeg}) {
        const auto image = Image::fromEncodedBytes(readFile(path));
        ASSERT_NE(image, nullptr) << path;
        const auto decoded = image->decodeRGBA8();
        EXPECT_EQ(decoded.pixels.size(), std::size_t(4 * image->width() * image->height()));
    }
}

} // namespace
} // namespace scene
