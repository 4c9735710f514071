// Pages of a mapped package are given back once decoded; the bytes must stay what they were.

#include "ReleasedPages.h"
#include "SceneReaderTestSupport.h"

#include <USD/MappedFile.h>
#include <fstream>
#include <gtest/gtest.h>
#include <numeric>
#include <vector>

namespace usd::test {
namespace {

TEST(ReleasedPages, KeepTheirContentsAndTolerateSpansSmallerThanAPage) {
    std::vector<std::uint8_t> written(5 * 4096 + 123);
    std::iota(written.begin(), written.end(), std::uint8_t{1});
    const auto file = scratchFolder() / "pages.bin";
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(written.data()),
               static_cast<std::streamsize>(written.size()));
    const MappedFile mapped(file);
    const std::span<const std::uint8_t> bytes = mapped.bytes();
    reader::releaseMappedFilePages(bytes.subspan(100));
    reader::releaseMappedFilePages(bytes.subspan(7, 100));
    reader::releaseMappedFilePages({});
    EXPECT_TRUE(std::ranges::equal(bytes, written));
}

} // namespace
} // namespace usd::test
