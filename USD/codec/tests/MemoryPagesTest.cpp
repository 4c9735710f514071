#include <USD/codec/MemoryPages.h>
#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <numeric>
#include <vector>

namespace usd {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

TEST(MemoryPages, LargeArraysAreGivenWholeHugePagesAndSmallOnesWhatTheyAsk) {
    EXPECT_EQ(hugePageCapacity(1000, 4), 1000u);
    EXPECT_EQ(hugePageCapacity(0, 4), 0u);
    EXPECT_EQ(hugePageCapacity(10, 0), 10u);
    for (const std::size_t elementSize : {1u, 4u, 8u, 12u}) {
        for (const std::size_t count : {kHugePage / elementSize + 1, std::size_t{3'000'000}}) {
            const std::size_t capacity = hugePageCapacity(count, elementSize);
            const std::size_t bytes = capacity * elementSize;
            EXPECT_GE(capacity, count);
            // The block with the allocator's bookkeeping fills whole huge pages to within one
            // element, and no more than one huge page is set aside beyond what was asked.
            const std::size_t block = bytes + 64;
            const std::size_t pages = (block + kHugePage - 1) / kHugePage;
            EXPECT_LT(pages * kHugePage - block, elementSize) << elementSize << " × " << count;
            EXPECT_LT(bytes - count * elementSize, kHugePage) << elementSize << " × " << count;
        }
    }
    // Sizes that would overflow are left as they are, for the allocator to refuse.
    EXPECT_EQ(hugePageCapacity(SIZE_MAX / 2, 4), SIZE_MAX / 2);
}

TEST(MemoryPages, ReservingKeepsWhatTheArrayHolds) {
    std::vector<std::uint32_t> values(1000);
    std::iota(values.begin(), values.end(), 0u);
    reserveWithHugePages(values, 1'000'000);
    ASSERT_GE(values.capacity(), 1'000'000u);
    ASSERT_EQ(values.size(), 1000u);
    EXPECT_EQ(values[999], 999u);
}

TEST(MemoryPages, ScratchIsWritableAndLargeScratchStartsOnAHugePage) {
    const ScratchBytes small(100);
    ASSERT_EQ(small.bytes().size(), 100u);
    small.bytes()[99] = 7;

    ScratchBytes large(3 * kHugePage + 5);
    ASSERT_EQ(large.bytes().size(), 3 * kHugePage + 5);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(large.bytes().data()) % kHugePage, 0u);
    large.bytes().front() = 1;
    large.bytes().back() = 2;

    large.truncate(10);
    EXPECT_EQ(large.bytes().size(), 10u);
    large.truncate(20); // never grows back
    EXPECT_EQ(large.bytes().size(), 10u);
    EXPECT_EQ(large.bytes().front(), 1);

    EXPECT_EQ(ScratchBytes(0).bytes().size(), 0u);
}

} // namespace
} // namespace usd
