#include "NumberArrays.h"

#include "NumberTraits.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace usd::reader {
namespace {

using namespace traits;

// The floats of an array of float vectors, in place.
template <std::size_t N> std::span<const float> floatsOf(const Array<std::array<float, N>>& held) {
    static_assert(sizeof(std::array<float, N>) == N * sizeof(float));
    return {reinterpret_cast<const float*>(held.data()), held.size() * N};
}

template <typename Element> VectorArray convertedVectors(const Array<Element>& held) {
    constexpr int components = componentCount<Element>();
    std::vector<float> floats;
    floats.reserve(held.size() * components);
    for (const Element& element : held) {
        const glm::dvec4 vector = *asVector(element);
        for (int i = 0; i < components && i < 4; ++i) {
            floats.push_back(static_cast<float>(vector[i]));
        }
    }
    return VectorArray(std::move(floats), std::min(components, 4));
}

template <typename Element> std::int32_t narrowed(Element number) {
    if (std::cmp_less(number, std::numeric_limits<std::int32_t>::min()) ||
        std::cmp_greater(number, std::numeric_limits<std::int32_t>::max())) {
        return -1;
    }
    return static_cast<std::int32_t>(number);
}

} // namespace

VectorArray::VectorArray(std::vector<float> floats, int components)
    : owned_(std::move(floats)), floats_(owned_), components_(components) {}

VectorArray VectorArray::viewOf(std::span<const float> floats, int components) {
    VectorArray array;
    array.floats_ = floats;
    array.components_ = components;
    return array;
}

glm::vec4 VectorArray::operator[](std::size_t index) const {
    glm::vec4 vector(0.0f);
    const float* first = floats_.data() + index * static_cast<std::size_t>(components_);
    for (int i = 0; i < components_; ++i) {
        vector[i] = first[i];
    }
    return vector;
}

VectorArray readVectorArray(const Value* value) {
    if (value == nullptr) {
        return {};
    }
    return std::visit(
        []<typename T>(const T& held) -> VectorArray {
            if constexpr (IsArray<T>::value) {
                using Element = typename IsArray<T>::Element;
                if constexpr (std::is_same_v<Element, float>) {
                    return VectorArray::viewOf(held, 1);
                } else if constexpr (std::is_same_v<typename VectorTraits<Element>::Component,
                                                    float>) {
                    return VectorArray::viewOf(floatsOf(held), VectorTraits<Element>::size);
                } else if constexpr (componentCount<Element>() > 0 &&
                                     !std::is_same_v<Element, bool>) {
                    return convertedVectors(held);
                }
            }
            return {};
        },
        value->storage());
}

IntegerArray::IntegerArray(std::vector<std::int32_t> numbers)
    : owned_(std::move(numbers)), numbers_(owned_) {}

IntegerArray IntegerArray::viewOf(std::span<const std::int32_t> numbers) {
    IntegerArray array;
    array.numbers_ = numbers;
    return array;
}

std::optional<IntegerArray> readIntegerArray(const Value* value) {
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::visit(
        []<typename T>(const T& held) -> std::optional<IntegerArray> {
            if constexpr (std::is_same_v<T, Array<std::int32_t>>) {
                return IntegerArray::viewOf(held);
            } else if constexpr (IsArray<T>::value) {
                using Element = typename IsArray<T>::Element;
                if constexpr (std::is_integral_v<Element> && !std::is_same_v<Element, bool>) {
                    std::vector<std::int32_t> numbers;
                    numbers.reserve(held.size());
                    for (Element number : held) {
                        numbers.push_back(narrowed(number));
                    }
                    return IntegerArray(std::move(numbers));
                }
            }
            return std::nullopt;
        },
        value->storage());
}

CountSummary summarizeCounts(const IntegerArray& counts) {
    if (counts.empty()) {
        return {};
    }
    // Bits or-ed together rather than compared, so that each count costs a few independent
    // single-cycle steps: a big mesh has millions.
    const auto first = static_cast<std::uint32_t>(counts[0]);
    std::uint64_t total = 0;
    std::uint32_t signs = 0;
    std::uint32_t differences = 0;
    for (std::int32_t count : counts) {
        const auto bits = static_cast<std::uint32_t>(count);
        total += bits;
        signs |= bits;
        differences |= bits ^ first;
    }
    return {total, (signs >> 31) != 0, differences == 0 ? std::optional(counts[0]) : std::nullopt};
}

std::optional<std::uint64_t> totalOfCounts(const IntegerArray& counts) {
    const CountSummary summary = summarizeCounts(counts);
    return summary.anyNegative ? std::nullopt : std::optional(summary.total);
}

} // namespace usd::reader
