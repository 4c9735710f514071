#pragma once

#include <SceneGraph/Animation.h>
#include <string>
#include <vector>

namespace scene {

class Node;

/// One key path and the value an animation gives it at some moment.
struct AnimatedValue {
    std::string keyPath;
    Value value;

    friend bool operator==(const AnimatedValue&, const AnimatedValue&) = default;
};

/// Where `seconds` falls within one play of an animation with this timing, as a fraction
/// 0 … 1, following the repeat rules of `Animation`. A zero or non-finite duration gives 1.
double playedFraction(double duration, double repeatCount, double seconds);

/// Every key path the animation drives and its value `seconds` after the animation started
/// (groups contribute each member, in order).
std::vector<AnimatedValue> evaluateAnimation(const Animation& animation, double seconds);

/// Sets the values of `evaluateAnimation` on `target` through its key paths. Fails with
/// KeyPathError when a key path does not resolve on `target` or a value does not fit.
void applyAnimation(const Animation& animation, Node& target, double seconds);

/// Applies every animation registered on every node of `root`'s hierarchy (root included)
/// `seconds` after they all started.
void applyAnimations(Node& root, double seconds);

} // namespace scene
