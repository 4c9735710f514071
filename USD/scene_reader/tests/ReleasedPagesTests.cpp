// Pages of package bytes are given back once decoded; the bytes must stay what they were,
// whether they lie in a mapped file or in memory of our own.

#include "ReleasedPages.h"

#include <gtest/gtest.h>
#include <numeric>
#include <vector>

namespace usd::test {
namespace {

TEST(ReleasedPages, KeepTheirContentsAndTolerateSpansSmallerThanAPage) {
    std::vector<std::uint8_t> bytes(5 * 4096 + 123);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{1});
    const std::vector<std::uint8_t> original = bytes;
    reader::releasePages(bytes);
    reader::releasePages(std::span(bytes).subspan(7, 100));
    reader::releasePages({});
    EXPECT_EQ(bytes, original);
}

} // namespace
} // namespace usd::test
