#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The integer coding of crate files: deltas of consecutive values, the most common delta
// stored once, every other delta in the smallest of three widths, with a 2-bit code per
// value saying which. Works on 32-bit and 64-bit integers, signed or unsigned.
namespace usd {

template <typename T>
concept CodedInteger = std::integral<T> &&(sizeof(T) == 4 || sizeof(T) == 8);

// The longest coded form count values of type T can take.
template <CodedInteger T> constexpr std::size_t maxEncodedIntegersSize(std::size_t count) {
    return sizeof(T) + (count * 2 + 7) / 8 + count * sizeof(T);
}

// The shortest coded form: every delta equals the common one.
template <CodedInteger T> constexpr std::size_t minEncodedIntegersSize(std::size_t count) {
    return count == 0 ? 0 : sizeof(T) + (count * 2 + 7) / 8;
}

template <CodedInteger T> std::vector<std::uint8_t> encodeIntegers(std::span<const T> values);

// Codes values into out, which must hold maxEncodedIntegersSize bytes, and returns the length
// used: big arrays are coded straight into a caller's scratch space.
template <CodedInteger T>
std::size_t encodeIntegersInto(std::span<const T> values, std::span<std::uint8_t> out);

// Decodes exactly count values; throws FormatError when the coded bytes are too short.
template <CodedInteger T>
std::vector<T> decodeIntegers(std::span<const std::uint8_t> coded, std::size_t count);

} // namespace usd
