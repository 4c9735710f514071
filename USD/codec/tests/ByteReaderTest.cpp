#include <USD/codec/ByteReader.h>
#include <array>
#include <cstring>
#include <gtest/gtest.h>

using namespace usd;

// Arrays are copied in one pass when they sit at their natural alignment and element by
// element otherwise; hostile files can put them anywhere, and both must give the same values.
TEST(ByteReader, ReadsElementsAtAnyOffset) {
    using Vec3 = std::array<double, 3>;
    const std::vector<Vec3> values{{1, 2, 3}, {-4, 5.5, 1e300}, {0, -0.0, 7}};
    for (const std::size_t offset : {0u, 1u, 4u, 8u}) {
        std::vector<std::uint8_t> bytes(offset + values.size() * sizeof(Vec3) + 3, 0xAB);
        std::memcpy(bytes.data() + offset, values.data(), values.size() * sizeof(Vec3));
        ByteReader reader(bytes, offset);
        EXPECT_EQ(reader.readVector<Vec3>(values.size()), values) << "offset " << offset;
        EXPECT_EQ(reader.remaining(), 3u);
        EXPECT_TRUE(reader.readVector<Vec3>(0).empty());
        EXPECT_THROW(reader.readVector<Vec3>(1), FormatError);
    }
}
