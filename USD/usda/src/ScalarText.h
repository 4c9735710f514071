#pragma once

// Text of single values in USD's text syntax: numbers, strings, tokens, asset
// paths, vectors, matrices, quaternions, paths and the small enums.

#include <USD/layer/Value.h>
#include <algorithm>
#include <string>

namespace usd::usda {

std::string scalarText(bool value);
std::string scalarText(std::uint8_t value);
std::string scalarText(std::int32_t value);
std::string scalarText(std::uint32_t value);
std::string scalarText(std::int64_t value);
std::string scalarText(std::uint64_t value);
// Shortest text that reads back to the same number; "inf", "-inf", "nan".
std::string scalarText(float value);
std::string scalarText(double value);
std::string scalarText(Half value);
std::string scalarText(const std::string& value); // quoted and escaped
std::string scalarText(const Token& value);
std::string scalarText(const AssetPath& value);
std::string scalarText(const PathExpression& value);
std::string scalarText(const TimeCode& value);
std::string scalarText(const Path& value);
std::string scalarText(const LayerOffset& value);
std::string scalarText(Specifier value);
std::string scalarText(Permission value);
std::string scalarText(Variability value);

// Vectors print as (x, y, z); matrices as rows of vectors; quaternions with
// their real part first, as text files write them.
template <typename T, std::size_t N> std::string scalarText(const std::array<T, N>& value) {
    std::string text = "(";
    for (std::size_t i = 0; i < N; ++i)
        text += (i == 0 ? "" : ", ") + scalarText(value[i]);
    return text + ")";
}

template <std::size_t N> std::string scalarText(const Matrix<N>& value) {
    std::string text = "(";
    for (std::size_t row = 0; row < N; ++row) {
        std::array<double, N> rowValues;
        std::copy_n(value.rowMajor.begin() + row * N, N, rowValues.begin());
        text += (row == 0 ? "" : ", ") + scalarText(rowValues);
    }
    return text + ")";
}

template <typename T> std::string scalarText(const Quat<T>& value) {
    return scalarText(
        std::array<T, 4>{value.real, value.imaginary[0], value.imaginary[1], value.imaginary[2]});
}

} // namespace usd::usda
