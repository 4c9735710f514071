#include <USD/MemoryPages.h>
#include <algorithm>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <numeric>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
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

// Pages of a mapped package are given back once decoded; the bytes must stay what they were.
TEST(MemoryPages, ReleasedFilePagesKeepTheirContentsAndSpansSmallerThanAPageAreTolerated) {
    std::vector<std::uint8_t> written(5 * 4096 + 123);
    std::iota(written.begin(), written.end(), std::uint8_t{1});
    const auto file = std::filesystem::temp_directory_path() /
                      ("brightfold-pages-" + std::to_string(::getpid()) + ".bin");
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(written.data()),
               static_cast<std::streamsize>(written.size()));
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    void* mapping = ::mmap(nullptr, written.size(), PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    std::filesystem::remove(file);
    ASSERT_NE(mapping, MAP_FAILED);
    const std::span bytes(static_cast<const std::uint8_t*>(mapping), written.size());

    releaseMappedFilePages(bytes.subspan(100));
    releaseMappedFilePages(bytes.subspan(7, 100));
    releaseMappedFilePages({});
    EXPECT_TRUE(std::ranges::equal(bytes, written));
    ::munmap(mapping, written.size());
}

} // namespace
} // namespace usd
