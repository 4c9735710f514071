// Crate files made to exhaust the reader: a compressed section that claims to expand to a
// terabyte, and a token count far beyond the bytes that could hold it. Each is refused with
// FormatError before the memory it claims is set aside.

#include "MinimalCrateFile.h"

#include <BoundedRun.h>
#include <USD/codec/FormatError.h>
#include <USD/crate_reader/CrateReader.h>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

using namespace usd;

namespace {

// Where the named section starts, from the file's table of contents.
std::size_t sectionStart(const std::vector<std::uint8_t>& file, std::string_view name) {
    const auto found = std::search(file.begin() + 16, file.end(), name.begin(), name.end());
    std::uint64_t start = 0;
    std::memcpy(&start, &*(found + 16), sizeof start);
    return static_cast<std::size_t>(start);
}

void patchU64(std::vector<std::uint8_t>& file, std::size_t at, std::uint64_t value) {
    std::memcpy(file.data() + at, &value, sizeof value);
}

std::string boundedRefusal(const std::vector<std::uint8_t>& file) {
    std::string failure = "read without an error";
    const auto run = brightfold::testing::measureBounded([&] {
        try {
            readCrate(file);
        } catch (const FormatError& error) {
            failure = error.what();
        }
    });
    EXPECT_LT(run.processorTime.count(), 1.0) << failure;
    EXPECT_LT(run.peakMemoryGrowthMiB, 64.0) << failure;
    return failure;
}

} // namespace

TEST(HostileCrate, SectionsClaimingFarMoreThanTheFileHoldsAreRefusedUnallocated) {
    const std::size_t tokens = sectionStart(minimalCrateFile(), "TOKENS");
    for (const std::size_t field : {tokens, tokens + 8}) { // token count, expanded size
        for (const std::uint64_t claim : {std::uint64_t{1} << 40, ~std::uint64_t{0}}) {
            auto file = minimalCrateFile();
            patchU64(file, field, claim);
            SCOPED_TRACE("field at " + std::to_string(field) + " = " + std::to_string(claim));
            EXPECT_NE(boundedRefusal(file), "read without an error");
        }
    }
}
