#pragma once

#include <USD/layer/Value.h>
#include <array>
#include <glm/vec4.hpp>
#include <optional>
#include <type_traits>

// What the attribute readers need to know of a value type: whether it is a number, a
// fixed-size vector of numbers (and of how many), or an array of either.
namespace usd::reader::traits {

inline double toDouble(Half half) {
    return half.toFloat();
}
template <typename T>
requires std::is_arithmetic_v<T>
double toDouble(T number) {
    return static_cast<double>(number);
}

template <typename T> constexpr bool isScalar = std::is_arithmetic_v<T> || std::is_same_v<T, Half>;

template <typename T> struct VectorTraits {
    using Component = void;
    static constexpr int size = 0;
};
template <typename E, std::size_t N>
requires isScalar<E>
struct VectorTraits<std::array<E, N>> {
    using Component = E;
    static constexpr int size = static_cast<int>(N);
};

template <typename T> constexpr int componentCount() {
    if constexpr (isScalar<T>) {
        return 1;
    } else {
        return VectorTraits<T>::size;
    }
}

template <typename T> struct IsArray : std::false_type {};
template <typename T> struct IsArray<Array<T>> : std::true_type { using Element = T; };

// A number or a fixed-size vector of numbers as up to four doubles.
template <typename T> std::optional<glm::dvec4> asVector(const T& held) {
    if constexpr (isScalar<T> && !std::is_same_v<T, bool>) {
        return glm::dvec4(toDouble(held), 0, 0, 0);
    } else if constexpr (VectorTraits<T>::size > 0) {
        glm::dvec4 vector(0.0);
        for (int i = 0; i < VectorTraits<T>::size && i < 4; ++i) {
            vector[i] = toDouble(held[static_cast<std::size_t>(i)]);
        }
        return vector;
    } else {
        return std::nullopt;
    }
}

} // namespace usd::reader::traits
