#pragma once

#include <USD/layer/ValueTypes.h>
#include <array>
#include <cstddef>
#include <type_traits>

namespace usd::crate {

template <typename T> struct IsVector : std::false_type {};
template <typename C, std::size_t N> struct IsVector<std::array<C, N>> : std::true_type {
    using Component = C;
    static constexpr std::size_t size = N;
};

template <typename T> struct IsMatrix : std::false_type {};
template <std::size_t N> struct IsMatrix<Matrix<N>> : std::true_type {
    static constexpr std::size_t size = N;
};

// Element types stored in files as a u32 index into the token or string table.
template <typename T>
inline constexpr bool kIsIndexedElement =
    std::is_same_v<T, std::string> || std::is_same_v<T, Token> || std::is_same_v<T, AssetPath> ||
    std::is_same_v<T, PathExpression>;

} // namespace usd::crate
