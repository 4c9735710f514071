#include <USD/HugePages.h>
#include <cstdint>
#include <gtest/gtest.h>
#include <numeric>

namespace usd {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

TEST(HugePages, LargeArraysAreGivenWholeHugePagesAndSmallOnesWhatTheyAsk) {
    EXPECT_EQ(hugePageCapacity(1000, 4), 1000u);
    EXPECT_EQ(hugePageCapacity(0, 4), 0u);
    EXPECT_EQ(hugePageCapacity(10, 0), 10u);
    for (const std::size_t elementSize : {1u, 4u, 8u, 12u}) {
        for (const std::size_t count : {kHugePage / elementSize, std::size_t{3'000'000}}) {
            const std::size_t capacity = hugePageCapacity(count, elementSize);
            EXPECT_GE(capacity, count);
            // The block with the allocator's bookkeeping fits whole huge pages, wasting
            // less than one of them.
            const std::size_t pages = (capacity * elementSize + 64 + kHugePage - 1) / kHugePage;
            EXPECT_LT(pages * kHugePage - capacity * elementSize, kHugePage + 64)
                << elementSize << " × " << count;
        }
    }
    // Sizes that would overflow are left as they are, for the allocator to refuse.
    EXPECT_EQ(hugePageCapacity(SIZE_MAX / 2, 4), SIZE_MAX / 2);
}

TEST(HugePages, ReservingKeepsWhatTheArrayHolds) {
    std::vector<std::uint32_t> values(1000);
    std::iota(values.begin(), values.end(), 0u);
    reserveWithHugePages(values, 1'000'000);
    ASSERT_GE(values.capacity(), 1'000'000u);
    ASSERT_EQ(values.size(), 1000u);
    EXPECT_EQ(values[999], 999u);
}

TEST(HugePages, ScratchIsWritableAndLargeScratchStartsOnAHugePage) {
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
