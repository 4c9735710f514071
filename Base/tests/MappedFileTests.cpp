#include <Base/FileError.h>
#include <Base/MappedFile.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <numeric>
#include <vector>

namespace base {
namespace {

std::filesystem::path writtenFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const auto path = std::filesystem::path(::testing::TempDir()) / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

// A sentence for the user: what was tried, on which file, and the system's reason.
TEST(MappedFile, AFileThatCannotBeMappedNamesItselfAndWhy) {
    const auto missing = std::filesystem::path(::testing::TempDir()) / "no-such-file.usdz";
    EXPECT_THAT([&] { MappedFile{missing}; },
                testing::ThrowsMessage<FileError>(
                    testing::AllOf(testing::HasSubstr("Cannot open '" + missing.string() + "'"),
                                   testing::HasSubstr("No such file or directory"))));
    EXPECT_THAT([] { MappedFile{::testing::TempDir()}; },
                testing::ThrowsMessage<FileError>(testing::HasSubstr("it is not a regular file")));
    EXPECT_TRUE(MappedFile(writtenFile("empty.bin", {})).bytes().empty());
}

// Pages of a mapped package are given back once decoded; the bytes must stay what they were,
// and memory that is not the file's must never be released, since it would come back as zeros.
TEST(MappedFile, ReleasedPagesKeepTheirContentsAndOtherMemoryIsLeftAlone) {
    std::vector<std::uint8_t> written(5 * 4096 + 123);
    std::iota(written.begin(), written.end(), std::uint8_t{1});
    const auto path = writtenFile("mapped-pages.bin", written);
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
} // namespace base
