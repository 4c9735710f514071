#include "Crc32.h"

#include <gtest/gtest.h>
#include <vector>
#include <zlib.h>

namespace usd::test {
namespace {

std::uint32_t zlibCrc(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0) {
    return static_cast<std::uint32_t>(crc32_z(crc, bytes.data(), bytes.size()));
}

std::vector<std::uint8_t> noise(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    std::uint32_t state = 0x2545F491u;
    for (std::uint8_t& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<std::uint8_t>(state);
    }
    return bytes;
}

// The folding code takes different paths by length and by the start's alignment: short
// tails, whole blocks and large runs must all give zlib's checksum.
TEST(Crc32, AgreesWithZlibAtEveryLengthAndAlignment) {
    const auto bytes = noise(3 * 1024 * 1024 + 77);
    const std::span<const std::uint8_t> all(bytes);
    for (std::size_t start = 0; start < 8; ++start) {
        for (std::size_t length : {0u, 1u, 3u, 15u, 16u, 17u, 63u, 64u, 65u, 255u, 256u, 4099u}) {
            const auto piece = all.subspan(start, length);
            EXPECT_EQ(crc32(piece), zlibCrc(piece)) << "start " << start << ", length " << length;
        }
    }
    const auto large = all.subspan(3);
    EXPECT_EQ(crc32(large), zlibCrc(large));
}

TEST(Crc32, ContinuesFromAnEarlierChecksum) {
    const auto bytes = noise(100'000);
    const std::span<const std::uint8_t> all(bytes);
    const std::uint32_t head = crc32(all.first(33'333));
    EXPECT_EQ(crc32(all.subspan(33'333), head), zlibCrc(all));
    EXPECT_EQ(crc32({}, head), head);
}

} // namespace
} // namespace usd::test
