#include "PackageTestSupport.h"

#include <USD/package/MappedFile.h>
#include <gtest/gtest.h>
#include <numeric>
#include <vector>

namespace usd::test {
namespace {

// Pages of a mapped package are given back once decoded; the bytes must stay what they were,
// and memory that is not the file's must never be released, since it would come back as zeros.
TEST(MappedFile, ReleasedPagesKeepTheirContentsAndOtherMemoryIsLeftAlone) {
    std::vector<std::uint8_t> written(5 * 4096 + 123);
    std::iota(written.begin(), written.end(), std::uint8_t{1});
    const auto path = scratchPath("mapped-pages.bin");
    writeBytes(path, written);
    const MappedFile file(path);
    std::filesystem::remove(path);
    const std::span bytes = file.bytes();

    file.releasePages(bytes.subspan(100));
    file.releasePages(bytes.subspan(7, 100));
    file.releasePages({});
    EXPECT_TRUE(std::ranges::equal(bytes, written));

    const std::vector<std::uint8_t> heap = written;
    file.releasePages(heap);
    file.releasePages({bytes.data() + 4096, bytes.size()}); // runs past the mapping's end
    EXPECT_EQ(heap, written);
    EXPECT_TRUE(std::ranges::equal(bytes, written));
}

} // namespace
} // namespace usd::test
