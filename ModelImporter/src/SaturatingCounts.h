#pragma once

#include <cstdint>
#include <limits>

// Counts of what a document claims, which may exceed any 64-bit value: they stop at the
// largest one instead of wrapping, so a limit compared with them still holds.
namespace modelimporter {

inline constexpr std::uint64_t kSaturatedCount = std::numeric_limits<std::uint64_t>::max();

inline std::uint64_t saturatingSum(std::uint64_t a, std::uint64_t b) {
    return b > kSaturatedCount - a ? kSaturatedCount : a + b;
}

inline std::uint64_t saturatingProduct(std::uint64_t a, std::uint64_t b) {
    return b != 0 && a > kSaturatedCount / b ? kSaturatedCount : a * b;
}

} // namespace modelimporter
