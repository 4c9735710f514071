#include "motion/AnimationTimeline.h"

#include "motion/ClipSelection.h"

#include <SceneGraph/AnimationPlayback.h>
#include <SceneGraph/KeyPath.h>
#include <SceneGraph/Morpher.h>
#include <algorithm>
#include <cmath>
#include <optional>
#include <set>

namespace usd::writer {
namespace {

using scene::Animation;
using scene::AnimationGroup;
using scene::KeyframeAnimation;

// Between the keys of a cubic spline, a sample at every code: each whole code then shows the
// curve exactly, and only the straight line between two codes departs from it.
constexpr int kCodesPerCurveSample = 1;

bool isUsableDuration(double seconds) {
    return seconds > 0 && std::isfinite(seconds);
}

// How long one round of an animation lasts on its parent's clock: its own duration, else its
// parent's, else (a group) its longest member's.
double roundLength(const Animation& animation, double inherited) {
    if (isUsableDuration(animation.duration))
        return animation.duration;
    if (isUsableDuration(inherited))
        return inherited;
    double longest = 0;
    if (const auto* group = dynamic_cast<const AnimationGroup*>(&animation))
        for (const auto& member : group->animations)
            longest = std::max(longest, roundLength(*member, 0));
    return longest;
}

bool loopsForever(const Animation& animation) {
    return std::isinf(animation.repeatCount);
}

// How long the registered animation moves anything on the scene's clock.
double playLength(const Animation& top) {
    const double round = roundLength(top, 0);
    if (loopsForever(top))
        return round;
    return round * std::max(top.repeatCount, 1.0);
}

const scene::Node* stepDown(const scene::Node& node, const scene::KeyPathComponent& step) {
    if (step.searchesDescendants)
        return node.childNodeWithName(step.key, true).get();
    if (step.key != "childNodes" || !step.index || *step.index >= node.childNodes().size())
        return nullptr;
    return node.childNodes()[*step.index].get();
}

std::optional<AnimatedProperty> transformProperty(const std::string& key) {
    if (key == "position")
        return AnimatedProperty::translation;
    if (key == "orientation")
        return AnimatedProperty::rotation;
    if (key == "scale")
        return AnimatedProperty::scale;
    return std::nullopt;
}

} // namespace

const scene::Node& topOf(const scene::Node& node) {
    const scene::Node* top = &node;
    while (auto parent = top->parentNode())
        top = parent.get();
    return *top;
}

std::optional<AnimatedTarget> resolveAnimatedTarget(const scene::Node& owner,
                                                    const std::string& keyPath) {
    std::vector<scene::KeyPathComponent> steps;
    try {
        steps = scene::parseKeyPath(keyPath);
    } catch (const scene::KeyPathError&) {
        return std::nullopt;
    }
    const scene::Node* node = &owner;
    std::size_t s = 0;
    for (; node && s < steps.size() && (steps[s].searchesDescendants || steps[s].index) &&
           steps[s].key != "weights";
         ++s)
        node = stepDown(*node, steps[s]);
    if (!node || s == steps.size())
        return std::nullopt;
    const auto& last = steps[s];
    if (s + 1 == steps.size() && !last.index)
        if (const auto property = transformProperty(last.key))
            return AnimatedTarget{node, *property, 0};
    const bool morphWeight = s + 2 == steps.size() && last.key == "morpher" && !last.index &&
                             steps[s + 1].key == "weights" && steps[s + 1].index;
    if (morphWeight && node->morpher() && *steps[s + 1].index < node->morpher()->targets().size())
        return AnimatedTarget{node, AnimatedProperty::morphWeight, *steps[s + 1].index};
    return std::nullopt;
}

namespace {

// Calls `visit` with the chain from `animation` down to every key-frame animation inside.
template <typename Visit>
void forEachKeyframeChain(const Animation& animation, std::vector<const Animation*>& chain,
                          Visit&& visit) {
    chain.push_back(&animation);
    if (dynamic_cast<const KeyframeAnimation*>(&animation))
        visit(chain);
    else if (const auto* group = dynamic_cast<const AnimationGroup*>(&animation))
        for (const auto& member : group->animations)
            forEachKeyframeChain(*member, chain, visit);
    chain.pop_back();
}

// The key frames at the end of each chain.
template <typename Visit> void forEachKeyframes(const Animation& animation, Visit&& visit) {
    std::vector<const Animation*> chain;
    forEachKeyframeChain(animation, chain, [&](const auto& found) {
        visit(static_cast<const KeyframeAnimation&>(*found.back()));
    });
}

std::string nodeLabel(const scene::Node& node) {
    return node.name().empty() ? "An unnamed node" : "Node \"" + node.name() + "\"";
}

// Key fractions as the scene reads them: the stored ones when usable, else spread evenly.
std::vector<double> keyFractions(const KeyframeAnimation& keys) {
    const std::size_t count = keys.values.size();
    const bool stored =
        keys.keyTimes.size() == count &&
        std::ranges::all_of(keys.keyTimes, [](double t) { return std::isfinite(t); }) &&
        std::ranges::is_sorted(keys.keyTimes);
    if (stored)
        return keys.keyTimes;
    std::vector<double> fractions(count, 0.0);
    for (std::size_t i = 1; i < count; ++i)
        fractions[i] = double(i) / double(count - 1);
    return fractions;
}

// Where the keys lie on the registered animation's clock, within one round of it: each level
// plays once on its parent's clock, so a key past its parent's round is never reached.
std::vector<double> keySecondsInRound(const AnimatedChannel& channel) {
    std::vector<double> lengths;
    double inherited = 0;
    for (const Animation* level : channel.chain) {
        inherited = roundLength(*level, inherited);
        lengths.push_back(inherited);
    }
    const double keysLength = lengths.back();
    const double reachable = *std::ranges::min_element(lengths);
    std::vector<double> seconds;
    for (const double fraction : keyFractions(channel.keys())) {
        const double at = std::clamp(fraction, 0.0, 1.0) * keysLength;
        if (at <= reachable)
            seconds.push_back(at);
    }
    return seconds;
}

// A fraction of one play of `animation` at `seconds` of its parent's clock. On a boundary
// between rounds `atRoundEnd` picks the end of the finished round.
double fractionAt(double duration, double repeatCount, double seconds, bool atRoundEnd) {
    const double fraction = scene::playedFraction(duration, repeatCount, seconds);
    return fraction == 0.0 && seconds > 0.0 && atRoundEnd ? 1.0 : fraction;
}

void keepLaterOfEqualCodes(std::vector<ChannelSample>& samples) {
    std::ranges::stable_sort(samples, {}, &ChannelSample::code);
    std::vector<ChannelSample> kept;
    for (const ChannelSample& sample : samples) {
        if (!kept.empty() && kept.back().code == sample.code)
            kept.back() = sample;
        else
            kept.push_back(sample);
    }
    samples = std::move(kept);
}

} // namespace

int timeCodeOf(double seconds) {
    return static_cast<int>(std::lround(seconds * kTimeCodesPerSecond));
}

std::vector<AnimatedTarget> animatedTargetsOf(const scene::Node& owner,
                                              const scene::Animation& animation) {
    std::vector<AnimatedTarget> targets;
    forEachKeyframes(animation, [&](const KeyframeAnimation& keys) {
        if (const auto target = resolveAnimatedTarget(owner, keys.keyPath))
            targets.push_back(*target);
    });
    return targets;
}

AnimationTimeline AnimationTimeline::of(const scene::Node& root, const ClipSelection& clips,
                                        Notes& notes) {
    AnimationTimeline timeline;
    // A node may register one animation under several keys: each sentence is said once.
    std::set<std::string> distinctNotes;
    std::map<std::string, std::set<std::string>> overridden; // node → key paths
    const auto add = [&](const scene::Node& node, const std::vector<const Animation*>& chain) {
        const auto& keys = static_cast<const KeyframeAnimation&>(*chain.back());
        const auto target = resolveAnimatedTarget(node, keys.keyPath);
        if (!target) {
            distinctNotes.insert(nodeLabel(node) + ": the animation of \"" + keys.keyPath +
                                 "\" was left out; nothing a file can animate is there.");
            return;
        }
        // Registered animations are applied in order: a later one shows.
        auto [channel, added] = timeline.channels_.try_emplace(
            {target->node, target->property, target->target}, AnimatedChannel{});
        if (!added && &channel->second.keys() != &keys)
            overridden[nodeLabel(node)].insert(keys.keyPath);
        channel->second = {target->node, target->property, target->target, chain};
    };
    root.enumerateHierarchy([&](const scene::Node& node) {
        for (const scene::AnimationEntry& entry : node.animations()) {
            if (!entry.animation || !clips.plays(*entry.animation))
                continue;
            std::vector<const Animation*> chain;
            forEachKeyframeChain(*entry.animation, chain,
                                 [&](const auto& found) { add(node, found); });
            timeline.seconds_ = std::max(timeline.seconds_, playLength(*entry.animation));
        }
    });
    for (const auto& [node, keyPaths] : overridden)
        distinctNotes.insert(node + ": several animations drive " +
                             (keyPaths.size() == 1
                                  ? "\"" + *keyPaths.begin() + "\""
                                  : std::to_string(keyPaths.size()) + " of its values") +
                             "; the one applied last is written, as the scene plays them.");
    notes.insert(notes.end(), distinctNotes.begin(), distinctNotes.end());
    if (!isUsableDuration(timeline.seconds_) || timeline.channels_.empty()) {
        timeline.channels_.clear();
        timeline.seconds_ = 0;
    }
    timeline.endCode_ = timeCodeOf(timeline.seconds_);
    return timeline;
}

const AnimatedChannel* AnimationTimeline::channel(const scene::Node& node,
                                                  AnimatedProperty property,
                                                  std::size_t target) const {
    const auto found = channels_.find({&node, property, target});
    return found == channels_.end() ? nullptr : &found->second;
}

std::vector<ChannelSample> AnimationTimeline::samplesOf(const AnimatedChannel& channel) const {
    const Animation& top = *channel.chain.front();
    const double round = roundLength(top, 0);
    const bool repeats = loopsForever(top) && isUsableDuration(round) && round < seconds_;
    const KeyframeAnimation& keyframes = channel.keys();
    const bool steps = keyframes.calculationMode == scene::AnimationCalculationMode::discrete;
    // A cubic spline is sampled between its keys: files interpolate samples linearly.
    const bool curved = !steps && !keyframes.values.empty() &&
                        keyframes.inTangents.size() == keyframes.values.size() &&
                        keyframes.outTangents.size() == keyframes.values.size();
    const std::vector<double> keys = keySecondsInRound(channel);

    std::vector<ChannelSample> samples{{0, 0.0, false}};
    for (double offset = 0; offset < seconds_ || offset == 0; offset += round) {
        for (std::size_t k = 0; k < keys.size(); ++k) {
            const double at = offset + keys[k];
            if (at > seconds_)
                break;
            if (steps && k > 0)
                samples.push_back({timeCodeOf(at) - 1, offset + keys[k - 1], keys[k - 1] > 0});
            if (curved && k > 0)
                for (int code = timeCodeOf(offset + keys[k - 1]) + kCodesPerCurveSample;
                     code < timeCodeOf(at); code += kCodesPerCurveSample)
                    samples.push_back({code, code / kTimeCodesPerSecond, true});
            samples.push_back({timeCodeOf(at), at, keys[k] > 0});
        }
        if (!repeats)
            break;
        // The loop restarts: the code before shows the value there, so the jump from the end
        // of the loop to its start takes one code and every code shows what the scene does.
        if (const int restart = timeCodeOf(offset + round); offset + round < seconds_)
            samples.push_back({restart - 1, (restart - 1) / kTimeCodesPerSecond, false});
    }
    samples.push_back({endCode_, seconds_, true});
    keepLaterOfEqualCodes(samples);
    std::erase_if(samples, [](const ChannelSample& s) { return s.code < 0; });
    return samples;
}

scene::Value AnimationTimeline::valueAt(const AnimatedChannel& channel,
                                        const ChannelSample& sample) const {
    // Each level plays on its parent's clock, as the scene's playback does.
    double seconds = sample.seconds;
    double repeatCount = channel.chain.front()->repeatCount;
    double inherited = 0;
    for (const Animation* level : channel.chain) {
        const double duration = isUsableDuration(level->duration) ? level->duration : inherited;
        const double fraction = fractionAt(duration, repeatCount, seconds, sample.atRoundEnd);
        if (level == channel.chain.back())
            return channel.keys().valueAtFraction(fraction);
        if (isUsableDuration(duration))
            seconds = fraction * duration;
        repeatCount = 1;
        inherited = duration;
    }
    return {};
}

scene::Value SampledChannel::at(int code) const {
    const auto found = std::ranges::lower_bound(samples_, code, {}, &ChannelSample::code);
    if (found != samples_.end() && found->code == code)
        return timeline_.valueAt(channel_, *found);
    return timeline_.valueAt(channel_, {code, code / kTimeCodesPerSecond, true});
}

std::vector<int> unionOfCodes(const AnimationTimeline& timeline,
                              const std::vector<const AnimatedChannel*>& channels) {
    std::vector<int> codes{0, timeline.endCode()};
    for (const AnimatedChannel* channel : channels)
        for (const ChannelSample& sample : timeline.samplesOf(*channel))
            codes.push_back(sample.code);
    std::ranges::sort(codes);
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    return codes;
}

} // namespace usd::writer
