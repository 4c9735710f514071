#include <SceneGraph/AnimationPlayback.h>
#include <SceneGraph/Node.h>
#include <cmath>

namespace scene {
namespace {

bool isUsableDuration(double duration) {
    return duration > 0.0 && std::isfinite(duration);
}

/// Collects the values of `animation` at `seconds` on its parent's clock. Members of a group
/// play once on the group's clock; a member without a duration takes its group's.
void collectValues(const Animation& animation, double seconds, double repeatCount,
                   double inheritedDuration, std::vector<AnimatedValue>& values) {
    const double duration = animation.duration > 0.0 ? animation.duration : inheritedDuration;
    const double fraction = playedFraction(duration, repeatCount, seconds);
    if (const auto* keyframes = dynamic_cast<const KeyframeAnimation*>(&animation)) {
        values.push_back({keyframes->keyPath, keyframes->valueAtFraction(fraction)});
        return;
    }
    if (const auto* group = dynamic_cast<const AnimationGroup*>(&animation)) {
        const double groupSeconds = isUsableDuration(duration) ? fraction * duration : seconds;
        for (const auto& member : group->animations) {
            collectValues(*member, groupSeconds, 1.0, duration, values);
        }
    }
}

} // namespace

double playedFraction(double duration, double repeatCount, double seconds) {
    if (!isUsableDuration(duration)) {
        return 1.0;
    }
    if (!(seconds > 0.0)) {
        return 0.0;
    }
    const double rounds = repeatCount > 0.0 ? repeatCount : 1.0;
    const double elapsedRounds = seconds / duration;
    if (elapsedRounds >= rounds) {
        const double partOfLastRound = rounds - std::floor(rounds);
        return partOfLastRound > 0.0 ? partOfLastRound : 1.0;
    }
    return elapsedRounds - std::floor(elapsedRounds);
}

std::vector<AnimatedValue> evaluateAnimation(const Animation& animation, double seconds) {
    std::vector<AnimatedValue> values;
    collectValues(animation, seconds, animation.repeatCount, 0.0, values);
    return values;
}

void applyAnimation(const Animation& animation, Node& target, double seconds) {
    for (const auto& [keyPath, value] : evaluateAnimation(animation, seconds)) {
        if (!value.isNull()) {
            target.setValueForKeyPath(keyPath, value);
        }
    }
}

void applyAnimations(Node& root, double seconds) {
    root.enumerateHierarchy([seconds](Node& node) {
        for (const auto& entry : node.animations()) {
            applyAnimation(*entry.animation, node, seconds);
        }
    });
}

} // namespace scene
