#include "ValueReading.h"

#include <limits>
#include <type_traits>

namespace usd::reader {
namespace {

double toDouble(Half half) {
    return half.toFloat();
}
template <typename T>
requires std::is_arithmetic_v<T>
double toDouble(T number) {
    return static_cast<double>(number);
}

template <typename T> constexpr bool isScalar = std::is_arithmetic_v<T> || std::is_same_v<T, Half>;

template <typename T> struct VectorTraits { static constexpr int size = 0; };
template <typename E, std::size_t N>
requires isScalar<E>
struct VectorTraits<std::array<E, N>> {
    static constexpr int size = static_cast<int>(N);
};

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

template <typename T> constexpr int componentCount() {
    if constexpr (isScalar<T>) {
        return 1;
    } else {
        return VectorTraits<T>::size;
    }
}

template <typename T> struct IsArray : std::false_type {};
template <typename T> struct IsArray<Array<T>> : std::true_type { using Element = T; };

} // namespace

std::optional<double> readNumber(const Value* value) {
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::visit(
        []<typename T>(const T& held) -> std::optional<double> {
            if constexpr (isScalar<T>) {
                return toDouble(held);
            } else {
                return std::nullopt;
            }
        },
        value->storage());
}

std::optional<bool> readBool(const Value* value) {
    const std::optional<double> number = readNumber(value);
    return number ? std::optional<bool>(*number != 0) : std::nullopt;
}

std::optional<std::string> readText(const Value* value) {
    if (value == nullptr) {
        return std::nullopt;
    }
    if (const auto* token = value->get<Token>()) {
        return token->text;
    }
    if (const auto* text = value->get<std::string>()) {
        return *text;
    }
    if (const auto* asset = value->get<AssetPath>()) {
        return asset->path;
    }
    return std::nullopt;
}

std::optional<glm::dvec4> readVector(const Value* value) {
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::visit([](const auto& held) { return asVector(held); }, value->storage());
}

std::optional<scene::Quaternion> readQuaternion(const Value* value) {
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::visit(
        []<typename T>(const T& held) -> std::optional<scene::Quaternion> {
            if constexpr (std::is_same_v<T, Quatf> || std::is_same_v<T, Quatd> ||
                          std::is_same_v<T, Quath>) {
                return scene::quaternionFromXYZW(toDouble(held.imaginary[0]),
                                                 toDouble(held.imaginary[1]),
                                                 toDouble(held.imaginary[2]), toDouble(held.real));
            } else {
                return std::nullopt;
            }
        },
        value->storage());
}

std::optional<scene::Matrix4> readMatrix(const Value* value) {
    const auto* matrix = value ? value->get<Matrix4d>() : nullptr;
    if (matrix == nullptr) {
        return std::nullopt;
    }
    return scene::matrixFromElements(std::span<const double, 16>(matrix->rowMajor));
}

VectorArray readVectorArray(const Value* value) {
    if (value == nullptr) {
        return {};
    }
    return std::visit(
        []<typename T>(const T& held) -> VectorArray {
            if constexpr (IsArray<T>::value) {
                using Element = typename IsArray<T>::Element;
                if constexpr (componentCount<Element>() > 0 && !std::is_same_v<Element, bool>) {
                    VectorArray array{{}, componentCount<Element>()};
                    array.elements.reserve(held.size());
                    for (const Element& element : held) {
                        array.elements.push_back(*asVector(element));
                    }
                    return array;
                }
            }
            return {};
        },
        value->storage());
}

std::optional<std::vector<std::int64_t>> readIntegerArray(const Value* value) {
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::visit(
        []<typename T>(const T& held) -> std::optional<std::vector<std::int64_t>> {
            if constexpr (IsArray<T>::value) {
                using Element = typename IsArray<T>::Element;
                if constexpr (std::is_integral_v<Element> && !std::is_same_v<Element, bool>) {
                    return std::vector<std::int64_t>(held.begin(), held.end());
                }
            }
            return std::nullopt;
        },
        value->storage());
}

std::vector<std::string> readTextArray(const Value* value) {
    std::vector<std::string> texts;
    if (const auto* tokens = value ? value->get<Array<Token>>() : nullptr) {
        for (const Token& token : *tokens) {
            texts.push_back(token.text);
        }
    } else if (const auto* strings = value ? value->get<Array<std::string>>() : nullptr) {
        texts = *strings;
    }
    return texts;
}

std::optional<std::uint64_t> totalOfCounts(const std::vector<std::int64_t>& counts) {
    std::uint64_t total = 0;
    for (std::int64_t count : counts) {
        if (count < 0 || count > std::numeric_limits<std::int32_t>::max()) {
            return std::nullopt;
        }
        total += static_cast<std::uint64_t>(count);
    }
    return total;
}

} // namespace usd::reader
