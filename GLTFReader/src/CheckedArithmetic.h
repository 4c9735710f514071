#pragma once

// Byte-range arithmetic on sizes read from files, where any sum or product may overflow.

#include <cstddef>
#include <optional>

namespace gltf {

// base + factor × count, or nothing when it does not fit in std::size_t.
inline std::optional<std::size_t> checkedMultiplyAdd(std::size_t base, std::size_t factor,
                                                     std::size_t count) {
    std::size_t product = 0;
    std::size_t sum = 0;
    if (__builtin_mul_overflow(factor, count, &product) ||
        __builtin_add_overflow(base, product, &sum)) {
        return std::nullopt;
    }
    return sum;
}

// The end of `count` elements of `elementSize` bytes placed `stride` apart from `offset`
// (offset + stride × (count − 1) + elementSize; `offset` for none), or nothing on overflow.
inline std::optional<std::size_t> stridedRangeEnd(std::size_t offset, std::size_t stride,
                                                  std::size_t count, std::size_t elementSize) {
    if (count == 0) {
        return offset;
    }
    const std::optional<std::size_t> lastStart = checkedMultiplyAdd(offset, stride, count - 1);
    return lastStart ? checkedMultiplyAdd(*lastStart, elementSize, 1) : std::nullopt;
}

} // namespace gltf
