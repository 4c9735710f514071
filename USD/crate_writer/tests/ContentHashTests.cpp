#include "ContentHash.h"

#include <gtest/gtest.h>
#include <numeric>
#include <vector>

namespace usd::crate {

// Values are hashed whole or as they are copied, in pieces of any size; repeats are only found
// if both give the same result.
TEST(ContentHash, GivesTheSameResultForBytesInAnyPieces) {
    std::vector<std::uint8_t> bytes(1000);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{7});
    const std::span<const std::uint8_t> all(bytes);
    for (const std::size_t piece : {1u, 5u, 31u, 32u, 33u, 64u, 999u}) {
        ContentHasher hasher;
        for (std::size_t offset = 0; offset < all.size(); offset += piece)
            hasher.add(all.subspan(offset, std::min(piece, all.size() - offset)));
        hasher.add({});
        EXPECT_EQ(hasher.result(), contentHash(all)) << "pieces of " << piece;
    }
}

TEST(ContentHash, TellsApartLengthsAndSingleBitChanges) {
    std::vector<std::uint8_t> bytes(100, 0);
    const std::size_t zeros = contentHash(bytes);
    EXPECT_NE(contentHash(std::span(bytes).first(99)), zeros);
    for (const std::size_t at : {0u, 31u, 32u, 97u}) {
        bytes[at] = 1;
        EXPECT_NE(contentHash(bytes), zeros) << "byte " << at;
        bytes[at] = 0;
    }
}

} // namespace usd::crate
