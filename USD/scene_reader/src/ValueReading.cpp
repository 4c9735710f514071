#include "ValueReading.h"

#include "NumberTraits.h"

namespace usd::reader {
using namespace traits;

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

namespace {

template <typename T>
constexpr bool isQuaternion =
    std::is_same_v<T, Quatf> || std::is_same_v<T, Quatd> || std::is_same_v<T, Quath>;

template <typename T> scene::Quaternion quaternionOf(const T& held) {
    return scene::quaternionFromXYZW(toDouble(held.imaginary[0]), toDouble(held.imaginary[1]),
                                     toDouble(held.imaginary[2]), toDouble(held.real));
}

} // namespace

std::optional<scene::Quaternion> readQuaternion(const Value* value) {
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::visit(
        []<typename T>(const T& held) -> std::optional<scene::Quaternion> {
            if constexpr (isQuaternion<T>) {
                return quaternionOf(held);
            } else {
                return std::nullopt;
            }
        },
        value->storage());
}

std::optional<std::vector<scene::Quaternion>> readQuaternionArray(const Value* value) {
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::visit(
        []<typename T>(const T& held) -> std::optional<std::vector<scene::Quaternion>> {
            if constexpr (IsArray<T>::value) {
                if constexpr (isQuaternion<typename IsArray<T>::Element>) {
                    std::vector<scene::Quaternion> quaternions;
                    quaternions.reserve(held.size());
                    for (const auto& element : held) {
                        quaternions.push_back(quaternionOf(element));
                    }
                    return quaternions;
                }
            }
            return std::nullopt;
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

std::vector<scene::Matrix4> readMatrixArray(const Value* value) {
    std::vector<scene::Matrix4> matrices;
    if (const auto* held = value ? value->get<Array<Matrix4d>>() : nullptr) {
        matrices.reserve(held->size());
        for (const Matrix4d& matrix : *held) {
            matrices.push_back(
                scene::matrixFromElements(std::span<const double, 16>(matrix.rowMajor)));
        }
    }
    return matrices;
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

} // namespace usd::reader
