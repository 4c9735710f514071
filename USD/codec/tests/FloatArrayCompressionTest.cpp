#include <USD/codec/CompressedIntegers.h>
#include <USD/codec/FloatArrayCompression.h>
#include <bit>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

using namespace usd;

namespace {

using Bytes = std::vector<std::uint8_t>;

template <typename T> std::vector<T> roundTrip(const std::vector<T>& values, std::uint8_t code) {
    const auto compressed = compressFloatArray<T>(values);
    EXPECT_TRUE(compressed.has_value());
    if (!compressed) {
        return {};
    }
    EXPECT_EQ(compressed->front(), code);
    ByteReader reader(*compressed);
    auto decoded = readCompressedFloatArray<T>(reader, values.size());
    EXPECT_EQ(reader.remaining(), 0u);
    return decoded;
}

} // namespace

TEST(FloatArrayCompression, WholeNumbersUseTheIntegerForm) {
    std::vector<float> floats(40);
    std::vector<double> doubles(40);
    std::vector<Half> halves(40);
    for (int i = 0; i < 40; ++i) {
        floats[i] = static_cast<float>(i * 1000 - 7);
        doubles[i] = -2147483648.0 + i;
        halves[i] = Half::fromFloat(static_cast<float>(i - 20));
    }
    EXPECT_EQ(roundTrip(floats, 'i'), floats);
    EXPECT_EQ(roundTrip(doubles, 'i'), doubles);
    EXPECT_EQ(roundTrip(halves, 'i'), halves);
}

TEST(FloatArrayCompression, FewDistinctValuesUseTheTableBitForBit) {
    std::vector<float> values(64);
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = i % 3 == 0 ? 0.5f : (i % 3 == 1 ? -0.0f : 0.0f);
    }
    const std::vector<float> decoded = roundTrip(values, 't');
    ASSERT_EQ(decoded.size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(decoded[i]),
                  std::bit_cast<std::uint32_t>(values[i]));
    }
}

TEST(FloatArrayCompression, LeavesVariedValuesUncompressed) {
    std::vector<double> varied(64);
    for (std::size_t i = 0; i < varied.size(); ++i) {
        varied[i] = std::sqrt(static_cast<double>(i) + 0.5);
    }
    EXPECT_FALSE(compressFloatArray<double>(varied).has_value());
}

TEST(FloatArrayCompression, RefusesUnknownCodesAndIndexesOutsideTheTable) {
    const Bytes unknownCode{'x', 0, 0, 0, 0};
    ByteReader unknown(unknownCode);
    EXPECT_THROW(readCompressedFloatArray<float>(unknown, 16), FormatError);

    Bytes badIndex{'t', 1, 0, 0, 0, 0, 0, 0x80, 0x3F};
    std::vector<std::uint32_t> indexes(16, 0);
    indexes[9] = 1;
    const Bytes block = compressIntegerBlock<std::uint32_t>(indexes);
    badIndex.insert(badIndex.end(), block.begin(), block.end());
    ByteReader reader(badIndex);
    EXPECT_THROW(readCompressedFloatArray<float>(reader, 16), FormatError);

    const Bytes hugeTable{'t', 0xFF, 0xFF, 0xFF, 0xFF, 0};
    ByteReader huge(hugeTable);
    EXPECT_THROW(readCompressedFloatArray<double>(huge, 16), FormatError);
}
