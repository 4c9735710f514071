#pragma once

#include <SceneGraph/AnimationClip.h>
#include <SceneGraph/Value.h>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace scene {

/// A repeat count that never ends.
inline constexpr double repeatForever = std::numeric_limits<double>::infinity();

enum class AnimationCalculationMode {
    /// Numbers, vectors and colours interpolate linearly; rotations by spherical interpolation.
    linear,
    /// Each key's value holds until the next key.
    discrete,
};

/// Timing shared by key-frame animations and groups.
///
/// On its own an animation plays over `duration` seconds and repeats `repeatCount` times
/// (0 and 1 both mean once; fractions play part of a last pass; `repeatForever` loops), then
/// holds its last value. Inside a group the group's clock drives it: it plays once over its
/// own duration (the group's, when its own is 0) and holds its last value until the group
/// starts its next pass.
class Animation {
  public:
    virtual ~Animation() = default;

    /// A deep copy: changing the copy (or anything inside it) leaves this animation alone.
    virtual std::shared_ptr<Animation> copy() const = 0;

    /// Seconds.
    double duration = 0;
    double repeatCount = 0;
    /// The source's clip this animation belongs to; none when the source has no clips (a USD
    /// layer's single timeline, animations made in code). Set on the animation registered on
    /// a node; members of a group belong to their group's clip.
    std::optional<AnimationClip> clip;

  protected:
    Animation() = default;
    Animation(const Animation&) = default;
    Animation& operator=(const Animation&) = default;
};

/// Values for one key path at fractions of the duration.
///
/// `keyTimes` are fractions in [0, 1], ascending, one per value. When they are missing, of
/// another count, not finite or descending, the values are spread evenly over the duration.
/// Values whose key path ends in "orientation" are rotations: 4-vectors (x, y, z, w) and
/// quaternions interpolate spherically along the shorter arc.
class KeyframeAnimation final : public Animation {
  public:
    static std::shared_ptr<KeyframeAnimation> create(std::string keyPath = {});
    std::shared_ptr<Animation> copy() const override;

    std::string keyPath;
    std::vector<double> keyTimes;
    std::vector<Value> values;
    AnimationCalculationMode calculationMode = AnimationCalculationMode::linear;
    /// A cubic spline's tangents, per key the incoming and the outgoing one, in value units per
    /// second. With one of each per value (and linear mode), values between two keys follow the
    /// Hermite curve they describe rather than the straight line; rotations are then
    /// normalised.
    std::vector<Value> inTangents;
    std::vector<Value> outTangents;

    /// The value at `fraction` (0 … 1) of one play; null when there are no values.
    Value valueAtFraction(double fraction) const;
};

/// Animations that run together on one clock.
class AnimationGroup final : public Animation {
  public:
    static std::shared_ptr<AnimationGroup> create() { return std::make_shared<AnimationGroup>(); }
    std::shared_ptr<Animation> copy() const override;

    std::vector<std::shared_ptr<Animation>> animations;
};

} // namespace scene
