// The coder against a plain, obviously correct one: written files must not change when the
// coder is made faster.
#include <USD/codec/IntegerCoding.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <map>
#include <random>
#include <type_traits>

using namespace usd;

namespace {

template <typename Signed> void appendDelta(std::vector<std::uint8_t>& out, Signed value) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
    out.insert(out.end(), bytes, bytes + sizeof value);
}

// Deltas, the most common one (largest on ties), a 2-bit code per value, then every other
// delta in the narrowest of three widths.
template <typename Signed, typename Small, typename Medium>
std::vector<std::uint8_t> referenceCoding(const std::vector<Signed>& values) {
    using Unsigned = std::make_unsigned_t<Signed>;
    std::vector<Signed> deltas;
    Unsigned previous = 0;
    for (const Signed value : values) {
        deltas.push_back(static_cast<Signed>(static_cast<Unsigned>(value) - previous));
        previous = static_cast<Unsigned>(value);
    }
    std::map<Signed, std::size_t> counts;
    for (const Signed delta : deltas) {
        ++counts[delta];
    }
    const auto common = std::ranges::max_element(counts, [](const auto& a, const auto& b) {
                            return std::tie(a.second, a.first) < std::tie(b.second, b.first);
                        })->first;
    std::vector<std::uint8_t> out;
    appendDelta(out, common);
    std::vector<std::uint8_t> codes((values.size() * 2 + 7) / 8);
    std::vector<std::uint8_t> rest;
    for (std::size_t i = 0; i < deltas.size(); ++i) {
        const Signed delta = deltas[i];
        int code = 3;
        if (delta == common) {
            code = 0;
        } else if (delta >= std::numeric_limits<Small>::min() &&
                   delta <= std::numeric_limits<Small>::max()) {
            code = 1;
            appendDelta(rest, static_cast<Small>(delta));
        } else if (delta >= std::numeric_limits<Medium>::min() &&
                   delta <= std::numeric_limits<Medium>::max()) {
            code = 2;
            appendDelta(rest, static_cast<Medium>(delta));
        } else {
            appendDelta(rest, delta);
        }
        codes[i / 4] |= static_cast<std::uint8_t>(code << (2 * (i % 4)));
    }
    out.insert(out.end(), codes.begin(), codes.end());
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

// Mesh-like runs of small steps mixed with jumps of every width, so that the common delta,
// ties and all three widths occur, inside and outside the range the coder counts densely.
template <typename Signed> std::vector<Signed> mixedValues(std::mt19937_64& random, std::size_t n) {
    const Signed jumps[] = {
        1,     -1,     3,
        127,   -128,   128,
        40000, -70000, static_cast<Signed>(std::numeric_limits<Signed>::max() / 3)};
    std::vector<Signed> values(n);
    Signed current = 0;
    for (Signed& value : values) {
        const auto roll = random() % 16;
        const Signed step = roll < 9 ? jumps[roll] : static_cast<Signed>(random() % 2000) - 1000;
        using Unsigned = std::make_unsigned_t<Signed>; // the values wrap, as the format's do
        current = static_cast<Signed>(static_cast<Unsigned>(current) + static_cast<Unsigned>(step));
        value = current;
    }
    return values;
}

} // namespace

TEST(IntegerCodingReference, CodesExactlyLikeThePlainCoder) {
    std::mt19937_64 random(11);
    for (const std::size_t count : {1u, 2u, 17u, 1000u, 70000u}) {
        const auto ints = mixedValues<std::int32_t>(random, count);
        EXPECT_EQ(encodeIntegers<std::int32_t>(ints),
                  (referenceCoding<std::int32_t, std::int8_t, std::int16_t>(ints)))
            << count << " 32-bit values";
        const auto longs = mixedValues<std::int64_t>(random, count);
        EXPECT_EQ(encodeIntegers<std::int64_t>(longs),
                  (referenceCoding<std::int64_t, std::int16_t, std::int32_t>(longs)))
            << count << " 64-bit values";
    }
}

TEST(IntegerCodingReference, CodesBigArraysInHalvesExactlyLikeThePlainCoder) {
    // Past a million values the deltas are counted and coded in two halves at once: the halves'
    // counts, codes and stored deltas must join into the plain coder's bytes.
    std::mt19937_64 random(23);
    const std::size_t count = (std::size_t{1} << 20) + 13;
    const auto ints = mixedValues<std::int32_t>(random, count);
    const auto coded = encodeIntegers<std::int32_t>(ints);
    EXPECT_EQ(coded, (referenceCoding<std::int32_t, std::int8_t, std::int16_t>(ints)));
    EXPECT_EQ(decodeIntegers<std::int32_t>(coded, count), ints);
    const auto longs = mixedValues<std::int64_t>(random, count);
    EXPECT_EQ(encodeIntegers<std::int64_t>(longs),
              (referenceCoding<std::int64_t, std::int16_t, std::int32_t>(longs)));
}

TEST(IntegerCodingReference, BreaksTiesTowardsTheLargestDeltaWhereverItIsCounted) {
    // 5 and 100000 each occur twice: the dense count and the sparse one must be compared.
    const std::vector<std::int32_t> values{5, 10, 100010, 200010};
    EXPECT_EQ(encodeIntegers<std::int32_t>(values),
              (referenceCoding<std::int32_t, std::int8_t, std::int16_t>(values)));
    const std::vector<std::int32_t> negative{-100000, -200000, -199990, -199980};
    EXPECT_EQ(encodeIntegers<std::int32_t>(negative),
              (referenceCoding<std::int32_t, std::int8_t, std::int16_t>(negative)));
}

TEST(IntegerCodingReference, DecodesWhatItCodesForEveryWidthMix) {
    std::mt19937_64 random(5);
    const auto ints = mixedValues<std::int32_t>(random, 50000);
    EXPECT_EQ(decodeIntegers<std::int32_t>(encodeIntegers<std::int32_t>(ints), ints.size()), ints);
    const auto longs = mixedValues<std::int64_t>(random, 50000);
    EXPECT_EQ(decodeIntegers<std::int64_t>(encodeIntegers<std::int64_t>(longs), longs.size()),
              longs);
    // Whole code bytes of common deltas are decoded four at a time: face sizes of a triangle
    // mesh are nearly all such, up to a last code byte that is only partly used.
    for (std::size_t count : {4u, 5u, 1001u}) {
        const std::vector<std::int32_t> faceSizes(count, 3);
        EXPECT_EQ(decodeIntegers<std::int32_t>(encodeIntegers<std::int32_t>(faceSizes), count),
                  faceSizes);
    }
}

namespace {

// Four deltas per code byte, in the widths its four codes name: common (5), 8-bit, 16-bit and
// 32-bit, with every code byte from 0 to 255 once, in order.
std::vector<std::int32_t> valuesWithEveryCodeByte() {
    std::vector<std::int32_t> values;
    std::uint32_t current = 0; // wraps, as the format's values do
    int varied = 0;
    for (unsigned codeByte = 0; codeByte < 256; ++codeByte) {
        for (unsigned lane = 0; lane < 4; ++lane) {
            ++varied;
            const std::int32_t deltas[] = {5, -100 + varied % 90, -20000 + 7 * varied,
                                           -2000000000 + 1000 * varied};
            current += static_cast<std::uint32_t>(deltas[(codeByte >> (2 * lane)) & 3]);
            values.push_back(static_cast<std::int32_t>(current));
        }
    }
    return values;
}

} // namespace

TEST(IntegerCodingReference, DecodesEveryCodeByteAndEveryTailLength) {
    const std::vector<std::int32_t> values = valuesWithEveryCodeByte();
    const std::vector<std::uint8_t> coded = encodeIntegers<std::int32_t>(values);
    ASSERT_EQ(coded.size(),
              (referenceCoding<std::int32_t, std::int8_t, std::int16_t>(values)).size());
    for (unsigned codeByte = 0; codeByte < 256; ++codeByte) {
        ASSERT_EQ(coded[sizeof(std::int32_t) + codeByte], codeByte)
            << "the codes are not the test's";
    }
    EXPECT_EQ(decodeIntegers<std::int32_t>(coded, values.size()), values);
    // Every count, so that the values decoded four at a time give way to the one-by-one ones at
    // every point, in coded bytes of exactly their length.
    for (std::size_t count = 0; count <= 70; ++count) {
        const std::vector<std::int32_t> front(values.begin(), values.begin() + count);
        const std::vector<std::uint8_t> exact = encodeIntegers<std::int32_t>(front);
        EXPECT_EQ(decodeIntegers<std::int32_t>(exact, count), front) << count << " values";
    }
}
