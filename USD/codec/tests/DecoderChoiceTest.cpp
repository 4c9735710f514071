// Which of the two decoders of 32-bit coded integers a build runs. The vector decoder must run
// wherever it can (otherwise the coding tests would only ever test the portable one), and never
// in a portable build or with BRIGHTFOLD_PORTABLE_DECODING=1 in the environment.
#include "VectorDeltaDecoding.h"

#include <USD/codec/IntegerCoding.h>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

bool vectorDecoderExpected() {
#if defined(BRIGHTFOLD_PORTABLE_DECODING) || !(defined(__x86_64__) || defined(__i386__))
    return false;
#else
    const char* portable = std::getenv("BRIGHTFOLD_PORTABLE_DECODING");
    return !(portable != nullptr && std::strcmp(portable, "1") == 0) &&
           __builtin_cpu_supports("avx2");
#endif
}

} // namespace

TEST(IntegerCodingDecoderChoice, TheVectorDecoderRunsOnlyWhereTheBuildAndProcessorAllowIt) {
    // Two code bytes' worth, with deltas of every width and a common one.
    const std::vector<std::int32_t> values{5, 6, 7, 7, 10, 10, 1000, 70000};
    const std::vector<std::uint8_t> coded = usd::encodeIntegers<std::int32_t>(values);
    std::int32_t common = 0;
    std::memcpy(&common, coded.data(), sizeof common);
    const std::span<const std::uint8_t> codes(coded.data() + sizeof common, 2);
    const std::uint8_t* deltas = codes.data() + codes.size();

    std::vector<std::int32_t> decoded(values.size());
    usd::DeltaDecodingState state{0, deltas};
    const std::size_t made =
        usd::decodeWholeCodeBytes(common, codes, coded.data() + coded.size(), decoded, state);
    if (vectorDecoderExpected()) {
        EXPECT_EQ(made, values.size()) << "the vector decoder did not run";
        EXPECT_EQ(decoded, values);
        EXPECT_EQ(state.deltas, coded.data() + coded.size());
    } else {
        EXPECT_EQ(made, 0u) << "the vector decoder ran where the portable one should";
        EXPECT_EQ(state.deltas, deltas);
    }
}
