#include <USD/codec/CompressedIntegers.h>
#include <USD/codec/IntegerCoding.h>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <stdexcept>

using namespace usd;

namespace {

using Bytes = std::vector<std::uint8_t>;

template <typename T> void expectCoding(const std::vector<T>& values, const Bytes& coded) {
    EXPECT_EQ(encodeIntegers<T>(values), coded);
    EXPECT_EQ(decodeIntegers<T>(coded, values.size()), values);
}

} // namespace

TEST(IntegerCoding, MatchesReferenceVectors32) {
    expectCoding<std::int32_t>({5, 6, 7, 7, 10, 10, 1000, 70000},
                               {0x01, 0x00, 0x00, 0x00, 0x41, 0xE5, 0x05, 0x00, 0x03, 0x00, 0xDE,
                                0x03, 0x88, 0x0D, 0x01, 0x00});
    expectCoding<std::int32_t>({-3, -3, -3, -3}, {0x00, 0x00, 0x00, 0x00, 0x01, 0xFD});
    expectCoding<std::uint32_t>({3, 4, 5, 6, 9, 10}, {0x01, 0, 0, 0, 0x01, 0x01, 0x03, 0x03});
    expectCoding<std::uint32_t>({0, 1, 2, 3, 0xFFFFFFFF, 4, 5, 0xFFFFFFFF},
                                {0x01, 0, 0, 0, 0x01, 0x45, 0x00, 0xFC, 0x05, 0xFA});
    expectCoding<std::int32_t>({0, 1}, {0x01, 0, 0, 0, 0x01, 0x00});
    expectCoding<std::int32_t>({7, 1}, {0x07, 0, 0, 0, 0x04, 0xFA});
    expectCoding<std::int32_t>({-1, -2}, {0xFF, 0xFF, 0xFF, 0xFF, 0x00});
    expectCoding<std::int32_t>({0, 5}, {0x05, 0, 0, 0, 0x01, 0x00});
    expectCoding<std::int32_t>({7, 6}, {0x07, 0, 0, 0, 0x04, 0xFF});
    expectCoding<std::int32_t>({}, {});
}

TEST(IntegerCoding, MatchesReferenceVector64) {
    expectCoding<std::int64_t>({5, 6, 7, 7, 10, 10, 1000, 70000},
                               {0x01, 0,    0,    0,    0,    0,    0,    0,
                                0x41, 0x95, 0x05, 0x00, 0x00, 0x00, 0x03, 0x00,
                                0x00, 0x00, 0xDE, 0x03, 0x88, 0x0D, 0x01, 0x00});
}

TEST(IntegerCoding, RoundTripsExtremesAndWrappingDeltas) {
    constexpr auto min32 = std::numeric_limits<std::int32_t>::min();
    constexpr auto max32 = std::numeric_limits<std::int32_t>::max();
    constexpr auto min64 = std::numeric_limits<std::int64_t>::min();
    constexpr auto max64 = std::numeric_limits<std::int64_t>::max();
    const std::vector<std::int32_t> ints{max32, min32, 0, max32, -1, min32, 127, -128, 128, -129};
    EXPECT_EQ(decodeIntegers<std::int32_t>(encodeIntegers<std::int32_t>(ints), ints.size()), ints);
    const std::vector<std::int64_t> longs{max64, min64, 0, 1ll << 40, -(1ll << 31), 32767, -32769};
    EXPECT_EQ(decodeIntegers<std::int64_t>(encodeIntegers<std::int64_t>(longs), longs.size()),
              longs);
    const std::vector<std::uint64_t> unsignedLongs{0, ~0ull, 1, ~0ull - 1};
    EXPECT_EQ(decodeIntegers<std::uint64_t>(encodeIntegers<std::uint64_t>(unsignedLongs), 4),
              unsignedLongs);

    std::mt19937 random(7);
    std::vector<std::int32_t> noise(1001);
    for (auto& value : noise) {
        value = static_cast<std::int32_t>(random()) >> (random() % 32);
    }
    EXPECT_EQ(decodeIntegers<std::int32_t>(encodeIntegers<std::int32_t>(noise), noise.size()),
              noise);
}

TEST(IntegerCoding, RefusesCodedDataShorterThanItsCodesClaim) {
    const Bytes coded{0x01, 0, 0, 0, 0x41, 0xE5, 0x05, 0x00, 0x03, 0x00, 0xDE, 0x03, 0x88};
    EXPECT_THROW(decodeIntegers<std::int32_t>(coded, 8), FormatError);
    EXPECT_THROW(decodeIntegers<std::int32_t>(Bytes{1, 0, 0}, 1), FormatError);
    EXPECT_THROW(decodeIntegers<std::int64_t>(Bytes{1, 0, 0, 0, 0, 0, 0, 0}, 1), FormatError);
    // Counts come from files: an absurd one is refused before anything is allocated for it.
    const Bytes shortCodes{0, 0, 0, 0, 0, 0};
    EXPECT_THROW(decodeIntegers<std::uint32_t>(shortCodes, std::size_t{1} << 62), FormatError);
    EXPECT_THROW(decodeIntegers<std::int64_t>(shortCodes, ~std::size_t{0}), FormatError);
    EXPECT_EQ(decodeIntegers<std::uint32_t>(shortCodes, 8).size(), 8u);
}

TEST(CompressedIntegers, ReadsTheStoredFormOfTheReferenceVector) {
    const Bytes stored{19,   0,    0,    0,    0,    0,    0,    0,    0x00,
                       0xF0, 0x01, 0x01, 0x00, 0x00, 0x00, 0x41, 0xE5, 0x05,
                       0x00, 0x03, 0x00, 0xDE, 0x03, 0x88, 0x0D, 0x01, 0x00};
    ByteReader reader(stored);
    EXPECT_EQ(readCompressedIntegers<std::int32_t>(reader, 8),
              (std::vector<std::int32_t>{5, 6, 7, 7, 10, 10, 1000, 70000}));
    EXPECT_EQ(reader.remaining(), 0u);
}

TEST(CompressedIntegers, RoundTripsAndRefusesImpossibleCounts) {
    std::vector<std::uint32_t> indexes(5000);
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        indexes[i] = static_cast<std::uint32_t>(i * 3 % 17);
    }
    const Bytes block = compressIntegerBlock<std::uint32_t>(indexes);
    ByteReader reader(block);
    EXPECT_EQ(readCompressedIntegers<std::uint32_t>(reader, indexes.size()), indexes);

    ByteReader absurd(block);
    EXPECT_THROW(readCompressedIntegers<std::uint32_t>(absurd, std::size_t{1} << 40), FormatError);
    ByteReader tooMany(block);
    EXPECT_THROW(readCompressedIntegers<std::uint32_t>(tooMany, indexes.size() * 40), FormatError);
    const Bytes truncated(block.begin(), block.end() - 1);
    ByteReader cut(truncated);
    EXPECT_THROW(readCompressedIntegers<std::uint32_t>(cut, indexes.size()), FormatError);
}

// Writers compress big arrays in two steps, straight into their output: the length returned
// must be exactly the block's, which reads back whole, and too little room is refused rather
// than overrun.
TEST(CompressedIntegers, CompressesInTwoStepsIntoABlockOfExactlyTheLengthReturned) {
    std::vector<std::int32_t> corners(30'000);
    for (std::size_t i = 0; i < corners.size(); ++i) {
        corners[i] = static_cast<std::int32_t>(i / 3 + i % 3 * 101);
    }
    const ScratchBytes coded = codeIntegers<std::int32_t>(corners);
    Bytes room(compressedBlockWorstCaseSize(coded.bytes().size()));
    room.resize(compressCodedIntegersInto(coded.bytes(), room));
    ByteReader reader(room);
    EXPECT_EQ(readCompressedIntegers<std::int32_t>(reader, corners.size()), corners);
    EXPECT_EQ(reader.remaining(), 0u);

    Bytes tooSmall(compressedBlockWorstCaseSize(coded.bytes().size()) - 1);
    EXPECT_THROW(compressCodedIntegersInto(coded.bytes(), tooSmall), std::length_error);
}
