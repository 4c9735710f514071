#include "CorpusFiles.h"

#include <BoundedRun.h>
#include <SceneGraph/Image.h>
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <numeric>
#include <stb/stb_image_write.h>
#include <tuple>

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

// The bytes of `encoded` with the image's width and height both set to `side`: in a PNG's header
// as 32 bits at 16 and 20, in a JPEG's frame (its first SOF0 marker) as 16 bits, height first.
std::vector<std::uint8_t> claimingSide(const Bytes& encoded, std::uint32_t side) {
    std::vector<std::uint8_t> bytes(encoded->begin(), encoded->end());
    auto setBigEndian = [&](std::size_t at, int length) {
        for (int byte = 0; byte < length; ++byte)
            bytes[at + static_cast<std::size_t>(byte)] =
                static_cast<std::uint8_t>(side >> (8 * (length - 1 - byte)));
    };
    if (bytes[0] == 0x89) {
        setBigEndian(16, 4);
        setBigEndian(20, 4);
        return bytes;
    }
    const std::array<std::uint8_t, 2> frame = {0xFF, 0xC0};
    const auto at = static_cast<std::size_t>(
        std::search(bytes.begin(), bytes.end(), frame.begin(), frame.end()) - bytes.begin());
    setBigEndian(at + 5, 2);
    setBigEndian(at + 7, 2);
    return bytes;
}

// Decodes `claiming`, which is expected to be refused quickly and without setting its pixels'
// memory aside.
void expectRefusedAtOnce(const std::string& what, std::vector<std::uint8_t> claiming) {
    std::string failure = "decoded";
    const auto run = brightfold::testing::measureBounded([&] {
        const auto image = Image::fromEncodedBytes(makeBytes(std::move(claiming)));
        if (image == nullptr) {
            failure = "not taken for an image";
            return;
        }
        try {
            image->decodeRGBA8();
        } catch (const std::runtime_error& error) {
            failure = error.what();
        }
    });
    EXPECT_NE(failure, "decoded") << what;
    EXPECT_LT(run.processorTime.count(), 1.0) << what << ": " << failure;
    EXPECT_LT(run.peakMemoryGrowthMiB, 64.0) << what << ": " << failure;
}

// A run-length coded TGA of `side` × `side` grey pixels whose data holds a single packet.
std::vector<std::uint8_t> runLengthTga(std::uint16_t side) {
    const auto low = static_cast<std::uint8_t>(side & 0xFF);
    const auto high = static_cast<std::uint8_t>(side >> 8);
    std::vector<std::uint8_t> tga = {0, 0, 11, 0,   0,    0,   0,    0, 0,
                                     0, 0, 0,  low, high, low, high, 8, 0};
    tga.insert(tga.end(), {0xFF, 0x80});
    tga.resize(160, 0);
    return tga;
}

// A few hundred bytes whose header claims an image of gigabytes: refused on reading the header
// when it is larger than any texture we hold, and otherwise before decoding, since its data
// could never hold that many pixels (a JPEG's missing blocks would be decoded as empty ones, a
// TGA's run lengths counted out one by one); the memory claimed is never set aside.
TEST(Image, AHeaderClaimingGigabytesIsRefusedAtOnce) {
    for (const auto& [format, encoded, side] :
         {std::tuple{"PNG", encodedPNG(), 60'000u}, std::tuple{"PNG", encodedPNG(), 16'000u},
          std::tuple{"JPEG", encodedJPEG(), 60'000u}, std::tuple{"JPEG", encodedJPEG(), 16'000u}}) {
        expectRefusedAtOnce(std::string(format) + " " + std::to_string(side),
                            claimingSide(encoded, side));
    }
    expectRefusedAtOnce("TGA 16000", runLengthTga(16'000));
    expectRefusedAtOnce("TGA 60000", runLengthTga(60'000));
}

// The decoder fills a table of 257 entries with one per declared Huffman code before checking
// the count: a JPEG declaring more codes is no image we hand it, not even to read its size.
TEST(Image, AJpegDeclaringMoreHuffmanCodesThanATableHoldsIsRefused) {
    const Bytes original = encodedJPEG();
    std::vector<std::uint8_t> jpeg(original->begin(), original->end());
    const std::array<std::uint8_t, 2> tables{0xFF, 0xC4};
    const auto found = std::search(jpeg.begin(), jpeg.end(), tables.begin(), tables.end());
    ASSERT_NE(found, jpeg.end());
    const auto counts = found + 5; // after the marker, the length and the class-and-slot byte
    const int declared = std::accumulate(counts, counts + 16, 0);
    counts[15] = static_cast<std::uint8_t>(counts[15] + 257 - declared);
    EXPECT_EQ(Image::fromEncodedBytes(makeBytes(jpeg)), nullptr);
    // Bytes between segments are skipped by the decoder until the next marker.
    jpeg.insert(found, {0x1F, 0x1F, 0x00});
    EXPECT_EQ(Image::fromEncodedBytes(makeBytes(jpeg)), nullptr);
    // Fill bytes before the start marker are skipped too.
    jpeg.insert(jpeg.begin(), 0xFF);
    EXPECT_EQ(Image::fromEncodedBytes(makeBytes(std::move(jpeg))), nullptr);
    EXPECT_NE(Image::fromEncodedBytes(original), nullptr);
}

// Where the first segment with `marker` starts in `bytes` (its 0xFF).
std::vector<std::uint8_t>::iterator findMarker(std::vector<std::uint8_t>& bytes,
                                               std::uint8_t marker) {
    const std::array<std::uint8_t, 2> pattern{0xFF, marker};
    return std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end());
}

std::string decodeFailure(std::vector<std::uint8_t> bytes) {
    const auto image = Image::fromEncodedBytes(makeBytes(std::move(bytes)));
    if (image == nullptr)
        return "not taken for an image";
    try {
        image->decodeRGBA8();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "decoded";
}

// The decoder does not clear the memory of its tables: a scan using a table the file never
// defined reads whatever that memory held, a Huffman table's entries as positions to read at.
// Such a file keeps its place as a texture (its bytes pass through unchanged) but is not decoded.
TEST(Image, AJpegUsingTablesItDoesNotDefineIsNotDecoded) {
    const Bytes original = encodedJPEG();
    const std::vector<std::uint8_t> valid(original->begin(), original->end());
    constexpr std::uint8_t kFrame = 0xC0;
    constexpr std::uint8_t kScan = 0xDA;

    auto undefinedHuffman = valid;
    findMarker(undefinedHuffman, kScan)[6] = 0x22; // first component: DC and AC tables 2
    EXPECT_EQ(decodeFailure(undefinedHuffman),
              "image cannot be decoded: a scan uses a Huffman table the file does not define "
              "before it");

    auto undefinedQuantization = valid;
    findMarker(undefinedQuantization, kFrame)[12] = 3; // first component's quantization table
    EXPECT_EQ(decodeFailure(undefinedQuantization),
              "image cannot be decoded: a scan uses a quantization table the file does not "
              "define before it");

    // The scan names two of the three components; the third would keep unset memory.
    auto uncoded = valid;
    const auto scan = findMarker(uncoded, kScan);
    scan[3] -= 2; // the segment's length
    scan[4] = 2;  // its component count
    uncoded.erase(scan + 9, scan + 11);
    EXPECT_EQ(decodeFailure(uncoded),
              "image cannot be decoded: a colour component of the image is in no scan");

    EXPECT_EQ(decodeFailure(valid), "decoded");
}

// An empty image data chunk before the first one with data is valid PNG; the decoder would copy
// it into a buffer it has not set aside yet. For a chunk it does not know but must understand,
// it would write the chunk's name into a buffer that all threads share and give that as reason.
TEST(Image, PngChunksTheDecoderMishandlesAreDealtWithFirst) {
    const Bytes original = encodedPNG();
    std::vector<std::uint8_t> png(original->begin(), original->end());
    const std::array<std::uint8_t, 4> imageData{'I', 'D', 'A', 'T'};
    const auto chunk =
        std::search(png.begin(), png.end(), imageData.begin(), imageData.end()) - png.begin() - 4;
    png.insert(png.begin() + chunk, {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E});
    auto emptyFirst = Image::fromEncodedBytes(makeBytes(png));
    ASSERT_NE(emptyFirst, nullptr);
    EXPECT_EQ(emptyFirst->decodeRGBA8().pixels, samplePixels());

    std::copy_n("QuUx", 4, png.begin() + chunk + 4);
    EXPECT_EQ(decodeFailure(png),
              "image cannot be decoded: the PNG needs a kind of chunk the decoder does not know");
    std::copy_n("quUx", 4, png.begin() + chunk + 4); // one it may skip
    EXPECT_EQ(decodeFailure(std::move(png)), "decoded");
}

// The decoder adds up a PNM header's digits in an int without checking for overflow, and
// converts 16-bit samples as if they were 8-bit.
TEST(Image, PnmHeadersTheDecoderMishandlesAreRefused) {
    const auto pnm = [](const std::string& header) {
        std::vector<std::uint8_t> bytes(header.begin(), header.end());
        bytes.resize(bytes.size() + 4, 0x80);
        return makeBytes(std::move(bytes));
    };
    EXPECT_EQ(Image::fromEncodedBytes(pnm("P5 2 2\n6666666666 ")), nullptr);
    EXPECT_EQ(Image::fromEncodedBytes(pnm("P6\n# comment\n2147483648 1 255\n")), nullptr);
    const auto small = Image::fromEncodedBytes(pnm("P5\n# comment\n0002 2 255\n"));
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->width(), 2);
    EXPECT_EQ(small->decodeRGBA8().pixels.size(), 16u);
    // Samples of 16 bits: the decoder would read past the pixels it converted.
    EXPECT_EQ(decodeFailure({'P', '5',  ' ', '2', ' ', '2', ' ', '6', '5', '5', '3',
                             '5', '\n', 1,   2,   3,   4,   5,   6,   7,   8}),
              "image cannot be decoded: the decoder misreads PNM images of 16 bits a sample");
}

TEST(Image, ReadsRealTextureFiles) {
    const std::filesystem::path& corpus = brightfold::testing::corpus;
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
