#include <USD/codec/FormatError.h>
#include <USD/codec/FramedLz4.h>
#include <cstring>
#include <gtest/gtest.h>

using namespace usd;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes decompress(const Bytes& framed, std::size_t capacity) {
    Bytes output(capacity);
    output.resize(decompressFramed(framed, output));
    return output;
}

} // namespace

TEST(FramedLz4, DecodesALiteralOnlySingleChunk) {
    const Bytes payload{0x01, 0x00, 0x00, 0x00, 0x41, 0xE5, 0x05, 0x00,
                        0x03, 0x00, 0xDE, 0x03, 0x88, 0x0D, 0x01, 0x00};
    Bytes framed{0x00, 0xF0, 0x01};
    framed.insert(framed.end(), payload.begin(), payload.end());
    EXPECT_EQ(decompress(framed, 64), payload);
    EXPECT_EQ(decompress(Bytes{0x00, 0x00}, 0), Bytes{});
}

TEST(FramedLz4, RoundTripsAndCompressesRepetitiveData) {
    Bytes data(100000);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i % 7);
    }
    const Bytes framed = compressFramed(data);
    EXPECT_LT(framed.size(), data.size() / 10);
    EXPECT_LE(framed.size(), framedWorstCaseSize(data.size()));
    EXPECT_EQ(decompress(framed, data.size()), data);
    EXPECT_EQ(decompress(compressFramed({}), 0), Bytes{});
}

TEST(FramedLz4, ReadsTheChunkRecordForm) {
    const Bytes payload{'c', 'h', 'u', 'n', 'k'};
    Bytes framed{0x01, 6, 0, 0, 0, 0x50};
    framed.insert(framed.end(), payload.begin(), payload.end());
    EXPECT_EQ(decompress(framed, 5), payload);

    // A chunk before the last must be full, so two short chunks are corrupt.
    Bytes twoShortChunks{0x02, 6, 0, 0, 0,    0x50, 'a', 'b', 'c', 'd', 'e',
                         6,    0, 0, 0, 0x50, 'a',  'b', 'c', 'd', 'e'};
    EXPECT_THROW(decompress(twoShortChunks, 10), FormatError);
}

TEST(FramedLz4, RefusesCorruptFramingAndBlocks) {
    const Bytes cases[] = {
        {},                                // no count byte
        {0x00},                            // no block
        {0x80, 1, 0, 0, 0, 0x00},          // more than 127 chunks
        {0x01, 9, 0, 0, 0, 0x50, 'a'},     // chunk longer than its buffer
        {0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0}, // negative chunk length
        {0x01, 2, 0},                      // chunk header cut short
        {0x00, 0x50, 'a', 'b'},            // literals run past the block
        {0x00, 0x14, 'a', 0x00, 0x00},     // match offset 0
        {0x00, 0x14, 'a', 0x09, 0x00},     // match reaches before the output start
    };
    for (const Bytes& framed : cases) {
        EXPECT_THROW(decompress(framed, 64), FormatError) << framed.size();
    }
    // Output larger than the caller allows.
    EXPECT_THROW(decompress(compressFramed(Bytes(100, 1)), 99), FormatError);
}
