// Replays every input that once made a fuzz target fail through the target's own entry function:
// each must now be read or refused with the reader's own error. Under the sanitizers this also
// catches the silent faults (undefined behaviour, stray reads) that first showed them.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::uint8_t> fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(FuzzRegressions, EverySavedInputIsReadOrRefusedCleanly) {
    std::size_t replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FUZZ_REGRESSIONS_DIR)) {
        SCOPED_TRACE(entry.path().filename().string());
        const std::vector<std::uint8_t> bytes = fileBytes(entry.path());
        EXPECT_NO_THROW(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()));
        ++replayed;
    }
    EXPECT_GT(replayed, 0u);
}
