#include "VectorDeltaDecoding.h"

#include <cstdlib>
#include <cstring>

// The vector decoder needs x86 shuffles and variable shifts; every other target, and a build
// that asks for it, decodes one value at a time in the caller.
#if (defined(__x86_64__) || defined(__i386__)) && !defined(BRIGHTFOLD_PORTABLE_DECODING)
#define BRIGHTFOLD_VECTOR_DECODING 1
#include <algorithm>
#include <array>
#include <immintrin.h>
#endif

namespace usd {

#ifdef BRIGHTFOLD_VECTOR_DECODING
namespace {

bool vectorDecodingAvailable() {
    // BRIGHTFOLD_PORTABLE_DECODING=1 in the environment turns the vector decoder off, so that
    // one build can test both decoders on a processor that has AVX2.
    static const bool available = [] {
        const char* portable = std::getenv("BRIGHTFOLD_PORTABLE_DECODING");
        const bool forcedPortable = portable != nullptr && std::strcmp(portable, "1") == 0;
        return !forcedPortable && __builtin_cpu_supports("avx2");
    }();
    return available;
}

// How one code byte's four deltas are made from the sixteen bytes at the next delta: each
// delta's bytes are shuffled to the top of its 32-bit lane and shifted down arithmetically,
// which sign-extends it; a common delta's lane stays zero and takes the common value.
struct CodeByteLanes {
    std::array<std::uint8_t, 16> shuffle;
    std::array<std::int32_t, 4> shifts;
    std::array<std::int32_t, 4> commonMask;
    std::uint32_t width; // delta bytes the four use
};

constexpr std::uint8_t kZeroByte = 0x80; // a shuffle index with its top bit set yields zero

constexpr CodeByteLanes lanesFor(unsigned codeByte) {
    constexpr std::array<std::uint32_t, 4> widthOfCode{0, 1, 2, 4};
    CodeByteLanes lanes{};
    for (unsigned lane = 0; lane < 4; ++lane) {
        const std::uint32_t width = widthOfCode[(codeByte >> (2 * lane)) & 3];
        for (unsigned byte = 0; byte < 4; ++byte) {
            const unsigned fromTop = 4 - byte; // 4 for the lowest byte of the lane
            lanes.shuffle[4 * lane + byte] =
                fromTop <= width ? static_cast<std::uint8_t>(lanes.width + width - fromTop)
                                 : kZeroByte;
        }
        lanes.shifts[lane] = static_cast<std::int32_t>(8 * (4 - width)) % 32;
        lanes.commonMask[lane] = width == 0 ? -1 : 0;
        lanes.width += width;
    }
    return lanes;
}

constexpr std::array<CodeByteLanes, 256> kCodeByteLanes = [] {
    std::array<CodeByteLanes, 256> table{};
    for (unsigned codeByte = 0; codeByte < table.size(); ++codeByte) {
        table[codeByte] = lanesFor(codeByte);
    }
    return table;
}();

__m128i load(const void* bytes) {
    return _mm_loadu_si128(static_cast<const __m128i*>(bytes));
}

// The sixteen bytes at `deltas`, or those before `readableEnd` followed by zeros near the end:
// the last code bytes, and every one of an array of common deltas, have fewer behind them.
__m128i loadDeltas(const std::uint8_t* deltas, const std::uint8_t* readableEnd) {
    constexpr std::ptrdiff_t kVectorBytes = 16;
    if (readableEnd - deltas >= kVectorBytes) {
        return load(deltas);
    }
    std::array<std::uint8_t, kVectorBytes> last{};
    std::memcpy(last.data(), deltas, static_cast<std::size_t>(readableEnd - deltas));
    return load(last.data());
}

__attribute__((target("avx2"))) std::size_t decodeWithAvx2(std::int32_t common,
                                                           std::span<const std::uint8_t> codes,
                                                           const std::uint8_t* readableEnd,
                                                           std::span<std::int32_t> values,
                                                           DeltaDecodingState& state) {
    const __m128i commonLanes = _mm_set1_epi32(common);
    __m128i running = _mm_set1_epi32(static_cast<std::int32_t>(state.running));
    const std::uint8_t* deltas = state.deltas;
    const std::size_t wholeCodeBytes = std::min(codes.size(), values.size() / 4);
    std::size_t codeByte = 0;
    for (; codeByte < wholeCodeBytes; ++codeByte) {
        const CodeByteLanes& lanes = kCodeByteLanes[codes[codeByte]];
        __m128i delta =
            _mm_shuffle_epi8(loadDeltas(deltas, readableEnd), load(lanes.shuffle.data()));
        delta = _mm_srav_epi32(delta, load(lanes.shifts.data()));
        delta = _mm_add_epi32(delta, _mm_and_si128(commonLanes, load(lanes.commonMask.data())));
        // Running sums of the four, then of everything before them.
        delta = _mm_add_epi32(delta, _mm_slli_si128(delta, 4));
        delta = _mm_add_epi32(delta, _mm_slli_si128(delta, 8));
        const __m128i sums = _mm_add_epi32(delta, running);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(values.data() + 4 * codeByte), sums);
        running = _mm_shuffle_epi32(sums, 0xff);
        deltas += lanes.width;
    }
    state.running = static_cast<std::uint32_t>(_mm_cvtsi128_si32(running));
    state.deltas = deltas;
    return 4 * codeByte;
}

} // namespace

std::size_t decodeWholeCodeBytes(std::int32_t common, std::span<const std::uint8_t> codes,
                                 const std::uint8_t* readableEnd, std::span<std::int32_t> values,
                                 DeltaDecodingState& state) {
    return vectorDecodingAvailable() ? decodeWithAvx2(common, codes, readableEnd, values, state)
                                     : 0;
}
#else
std::size_t decodeWholeCodeBytes(std::int32_t, std::span<const std::uint8_t>, const std::uint8_t*,
                                 std::span<std::int32_t>, DeltaDecodingState&) {
    return 0;
}
#endif

} // namespace usd
