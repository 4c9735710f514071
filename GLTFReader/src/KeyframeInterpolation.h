#pragma once

// How a glTF animation sampler moves between its keys, and the key values that result.

#include <SceneGraph/Animation.h>
#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gltf {

enum class Interpolation { linear, step, cubicSpline };

// The sampler's "interpolation"; absent means linear. Any other name than the three glTF ones
// fails with NotSupported, naming `operationName`.
Interpolation interpolationOf(const std::optional<std::string>& name,
                              std::string_view operationName);

// A cubic spline plays through its key values (along the curve of its tangents, which the
// caller keeps beside them); steps hold each value until the next key.
scene::AnimationCalculationMode calculationModeOf(Interpolation interpolation);

// Which of the three groups a cubic spline stores per key.
enum class SplinePart { inTangents = 0, values = 1, outTangents = 2 };

// One group of each key of a cubic spline, which stores per key `valuesPerKey` in-tangents,
// then as many values, then as many out-tangents.
template <class Value>
std::vector<Value> splinePart(const std::vector<Value>& values, SplinePart part,
                              std::size_t valuesPerKey) {
    std::vector<Value> kept;
    const std::size_t first = static_cast<std::size_t>(part) * valuesPerKey;
    for (std::size_t start = first; start < values.size(); start += 3 * valuesPerKey) {
        const std::size_t end = std::min(start + valuesPerKey, values.size());
        kept.insert(kept.end(), values.begin() + static_cast<std::ptrdiff_t>(start),
                    values.begin() + static_cast<std::ptrdiff_t>(end));
    }
    return kept;
}

// The values at the keys: a cubic spline's middle group, other interpolations' values alone.
template <class Value>
std::vector<Value> keyValues(const std::vector<Value>& values, Interpolation interpolation,
                             std::size_t valuesPerKey) {
    if (interpolation != Interpolation::cubicSpline) {
        return values;
    }
    return splinePart(values, SplinePart::values, valuesPerKey);
}

} // namespace gltf
