#pragma once

// The one looping timeline a written file plays, and the animated node properties on it.
//
// The scene starts every animation registered on every node together and loops them on one
// clock; the timeline holds those of the clips a package plays (see ClipSelection). It runs
// from code 0 to the end of the longest of them. A shorter animation that loops on its own
// (morph weights of a glTF sampler do) repeats its keys within that span; one that does not
// loop holds its last value. When two animations drive the same property of the same node,
// the scene applies them in order and the last one shows: that is the one written.

#include "Notes.h"

#include <SceneGraph/Animation.h>
#include <SceneGraph/Node.h>
#include <cstddef>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

namespace usd::writer {

// 120 codes per second: exact for keys at 24, 30 and 60 frames per second, and integer codes
// are the only ones some viewers play.
inline constexpr double kTimeCodesPerSecond = 120;

enum class AnimatedProperty { translation, rotation, scale, morphWeight };

// A property of a node a file can animate.
struct AnimatedTarget {
    const scene::Node* node = nullptr; // for morph weights, the node holding the morpher
    AnimatedProperty property = AnimatedProperty::translation;
    std::size_t target = 0; // the morph target, for morph weights

    friend auto operator<=>(const AnimatedTarget&, const AnimatedTarget&) = default;
};

// The top of the node's hierarchy, where avatar tables and scene-wide key paths start.
const scene::Node& topOf(const scene::Node& node);

// What a key path relative to `owner` addresses when it is a node's position, orientation or
// scale, or one weight of a node's morpher; nothing for any other key path.
std::optional<AnimatedTarget> resolveAnimatedTarget(const scene::Node& owner,
                                                    const std::string& keyPath);

// Every property a file can animate that the animation registered on `owner` drives.
std::vector<AnimatedTarget> animatedTargetsOf(const scene::Node& owner,
                                              const scene::Animation& animation);

class ClipSelection;

// One animated property of one node and the key frames that drive it.
struct AnimatedChannel {
    const scene::Node* node = nullptr; // for morph weights, the node holding the morpher
    AnimatedProperty property = AnimatedProperty::translation;
    std::size_t target = 0; // the morph target, for morph weights
    // From the animation registered on the node down to the key frames; each plays on its
    // parent's clock.
    std::vector<const scene::Animation*> chain;

    const scene::KeyframeAnimation& keys() const {
        return static_cast<const scene::KeyframeAnimation&>(*chain.back());
    }
};

// A time code of a channel and the moment on the timeline whose value it shows. `atRoundEnd`
// picks the end of a loop over the start of the next one when the moment is on a boundary.
struct ChannelSample {
    int code = 0;
    double seconds = 0;
    bool atRoundEnd = false;
};

class AnimationTimeline {
  public:
    // Every animation of `root`'s hierarchy that the selection plays; key paths that address
    // nothing written (or nothing at all) are reported.
    static AnimationTimeline of(const scene::Node& root, const ClipSelection& clips, Notes& notes);

    bool empty() const { return channels_.empty(); }
    int endCode() const { return endCode_; }

    // The channel that drives the property, or null when it holds still.
    const AnimatedChannel* channel(const scene::Node& node, AnimatedProperty property,
                                   std::size_t target = 0) const;

    // The codes at which the channel is written, ascending and unique: its keys (each loop of
    // a shorter looping animation), the timeline's start and end, for jumps (steps, the
    // restart of a loop) the held value one code before, and along a cubic spline's curve
    // samples between its keys.
    std::vector<ChannelSample> samplesOf(const AnimatedChannel& channel) const;

    // The channel's value at a sample, as the scene plays it.
    scene::Value valueAt(const AnimatedChannel& channel, const ChannelSample& sample) const;

  private:
    using Key = std::tuple<const scene::Node*, AnimatedProperty, std::size_t>;

    std::map<Key, AnimatedChannel> channels_;
    double seconds_ = 0;
    int endCode_ = 0;
};

// One channel read at the codes of a union of channels: its own sample where it has one
// there, else the scene's value at that moment.
class SampledChannel {
  public:
    SampledChannel(const AnimationTimeline& timeline, const AnimatedChannel& channel)
        : timeline_(timeline), channel_(channel), samples_(timeline.samplesOf(channel)) {}

    scene::Value at(int code) const;

  private:
    const AnimationTimeline& timeline_;
    const AnimatedChannel& channel_;
    std::vector<ChannelSample> samples_;
};

// Time code of a moment on the timeline.
int timeCodeOf(double seconds);

// The ascending union of the codes of several channels (the timeline's ends included).
std::vector<int> unionOfCodes(const AnimationTimeline& timeline,
                              const std::vector<const AnimatedChannel*>& channels);

} // namespace usd::writer
