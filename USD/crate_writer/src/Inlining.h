#pragma once

// Which values fit in the 32 bits of a value reference, and how they are
// packed there. Values that do not fit are written out of line.

#include <USD/layer/Value.h>
#include <cmath>
#include <cstdint>
#include <optional>

namespace usd::crate {

// Types whose every value fits.
std::uint32_t inlineWord(bool value);
std::uint32_t inlineWord(std::uint8_t value);
std::uint32_t inlineWord(std::int32_t value);
std::uint32_t inlineWord(std::uint32_t value);
std::uint32_t inlineWord(Half value);
std::uint32_t inlineWord(float value);
std::uint32_t inlineWord(Vec2h value);
std::uint32_t inlineWord(Specifier value);
std::uint32_t inlineWord(Permission value);
std::uint32_t inlineWord(Variability value);

// Types where only some values fit: 64-bit integers within 32 bits, doubles a
// float holds exactly, vectors of small whole numbers, diagonal matrices of
// small whole numbers, and the empty dictionary. Negative zero is never
// squeezed into a whole number, so every value reads back bit for bit.
std::optional<std::uint32_t> tryInlineWord(std::int64_t value);
std::optional<std::uint32_t> tryInlineWord(std::uint64_t value);
std::optional<std::uint32_t> tryInlineWord(double value);
std::optional<std::uint32_t> tryInlineWord(const Dictionary& value);

// A vector or matrix component as a small whole number, if it is one.
std::optional<std::int8_t> inlineComponent(double value);
std::optional<std::int8_t> inlineComponent(float value);
std::optional<std::int8_t> inlineComponent(Half value);
std::optional<std::int8_t> inlineComponent(std::int32_t value);

// Byte k of the word is component k.
template <typename T, std::size_t N>
std::optional<std::uint32_t> tryInlineWord(const std::array<T, N>& vector) {
    static_assert(N <= 4);
    std::uint32_t word = 0;
    for (std::size_t k = 0; k < N; ++k) {
        const auto component = inlineComponent(vector[k]);
        if (!component)
            return std::nullopt;
        word |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(*component)) << (8 * k);
    }
    return word;
}

// Byte k of the word is diagonal element k; everything else must be zero.
template <std::size_t N> std::optional<std::uint32_t> tryInlineWord(const Matrix<N>& matrix) {
    std::array<double, N> diagonal;
    for (std::size_t row = 0; row < N; ++row)
        for (std::size_t column = 0; column < N; ++column) {
            const double element = matrix.rowMajor[row * N + column];
            if (row == column)
                diagonal[row] = element;
            else if (element != 0.0 || std::signbit(element))
                return std::nullopt;
        }
    return tryInlineWord(diagonal);
}

} // namespace usd::crate
