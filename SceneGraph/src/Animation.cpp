#include "Interpolation.h"

#include <SceneGraph/Animation.h>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace scene {
namespace {

bool keyTimesUsable(const std::vector<double>& keyTimes, std::size_t valueCount) {
    return keyTimes.size() == valueCount &&
           std::all_of(keyTimes.begin(), keyTimes.end(),
                       [](double t) { return std::isfinite(t); }) &&
           std::is_sorted(keyTimes.begin(), keyTimes.end());
}

bool isRotationKeyPath(std::string_view keyPath) {
    return keyPath.ends_with("orientation");
}

Value scaled(const Value& tangent, double factor) {
    if (const auto number = tangent.number()) {
        return *number * factor;
    }
    if (const auto* vector = tangent.as<glm::dvec3>()) {
        return *vector * factor;
    }
    if (const auto* vector = tangent.as<glm::dvec4>()) {
        return *vector * factor;
    }
    return tangent;
}

} // namespace

std::shared_ptr<KeyframeAnimation> KeyframeAnimation::create(std::string keyPath) {
    auto animation = std::make_shared<KeyframeAnimation>();
    animation->keyPath = std::move(keyPath);
    return animation;
}

std::shared_ptr<Animation> KeyframeAnimation::copy() const {
    return std::make_shared<KeyframeAnimation>(*this);
}

Value KeyframeAnimation::valueAtFraction(double fraction) const {
    const std::size_t count = values.size();
    if (count == 0) {
        return {};
    }
    const bool useKeyTimes = keyTimesUsable(keyTimes, count);
    const auto timeOf = [&](std::size_t i) {
        return useKeyTimes ? keyTimes[i] : count == 1 ? 0.0 : double(i) / double(count - 1);
    };
    if (!(fraction > timeOf(0))) {
        return values.front();
    }
    if (fraction >= timeOf(count - 1)) {
        return values.back();
    }
    std::vector<std::size_t> positions(count);
    std::iota(positions.begin(), positions.end(), std::size_t{0});
    const std::size_t next = *std::partition_point(
        positions.begin(), positions.end(), [&](std::size_t i) { return timeOf(i) <= fraction; });
    const std::size_t previous = next - 1;
    if (calculationMode == AnimationCalculationMode::discrete) {
        return values[previous];
    }
    const double span = timeOf(next) - timeOf(previous);
    const double progress = (fraction - timeOf(previous)) / span;
    const bool rotation = isRotationKeyPath(keyPath);
    if (inTangents.size() == count && outTangents.size() == count) {
        // Tangents are per second; the curve runs over the keys' span of seconds.
        const double seconds = span * duration;
        return detail::hermite(values[previous], scaled(outTangents[previous], seconds),
                               scaled(inTangents[next], seconds), values[next], progress, rotation);
    }
    return detail::interpolate(values[previous], values[next], progress, rotation);
}

std::shared_ptr<Animation> AnimationGroup::copy() const {
    auto group = std::make_shared<AnimationGroup>(*this);
    for (auto& member : group->animations) {
        member = member->copy();
    }
    return group;
}

} // namespace scene
