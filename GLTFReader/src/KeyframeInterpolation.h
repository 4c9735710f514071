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

// A cubic spline plays linearly through its key values; steps hold each value until the next
// key.
scene::AnimationCalculationMode calculationModeOf(Interpolation interpolation);

// The values at the keys. A cubic spline stores, per key, `valuesPerKey` in-tangents, then as
// many values, then as many out-tangents; only the middle group is kept. Other interpolations
// store the values alone.
template <class Value>
std::vector<Value> keyValues(const std::vector<Value>& values, Interpolation interpolation,
                             std::size_t valuesPerKey) {
    if (interpolation != Interpolation::cubicSpline) {
        return values;
    }
    std::vector<Value> kept;
    for (std::size_t start = valuesPerKey; start < values.size(); start += 3 * valuesPerKey) {
        const std::size_t end = std::min(start + valuesPerKey, values.size());
        kept.insert(kept.end(), values.begin() + static_cast<std::ptrdiff_t>(start),
                    values.begin() + static_cast<std::ptrdiff_t>(end));
    }
    return kept;
}

} // namespace gltf
