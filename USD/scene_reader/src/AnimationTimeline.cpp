#include "AnimationTimeline.h"

#include "ValueReading.h"

#include <SceneGraph/KeyPath.h>
#include <algorithm>
#include <cmath>

namespace usd::reader {
namespace {

constexpr std::string_view kTimeCodesPerSecond = "timeCodesPerSecond";
constexpr std::string_view kFramesPerSecond = "framesPerSecond";
constexpr std::string_view kStartTimeCode = "startTimeCode";
constexpr std::string_view kEndTimeCode = "endTimeCode";

std::optional<double> positiveNumber(const Value* value) {
    const std::optional<double> number = readNumber(value);
    return number && std::isfinite(*number) && *number > 0 ? number : std::nullopt;
}

std::optional<double> finiteNumber(const Value* value) {
    const std::optional<double> number = readNumber(value);
    return number && std::isfinite(*number) ? number : std::nullopt;
}

// Only what lies within [start, end] plays: samples outside it give way to the values the
// track has at the ends.
TimeCodeTrack clipped(const TimeCodeTrack& track, double start, double end) {
    if (track.codes.front() >= start && track.codes.back() <= end) {
        return track;
    }
    TimeCodeTrack inside{track.keyPath, {}, {}, track.mode};
    const auto add = [&](double code, scene::Value value) {
        if (inside.codes.empty() || code > inside.codes.back()) {
            inside.codes.push_back(code);
            inside.values.push_back(std::move(value));
        }
    };
    if (track.codes.front() < start) {
        add(start, trackValueAt(track, start));
    }
    for (std::size_t i = 0; i < track.codes.size(); ++i) {
        if (track.codes[i] >= start && track.codes[i] <= end) {
            add(track.codes[i], track.values[i]);
        }
    }
    add(end, trackValueAt(track, end));
    return inside;
}

std::shared_ptr<scene::KeyframeAnimation> keyframesOf(const TimeCodeTrack& track, double start,
                                                      double end, double seconds) {
    auto keyframes = scene::KeyframeAnimation::create(track.keyPath);
    for (const double code : track.codes) {
        keyframes->keyTimes.push_back((code - start) / (end - start));
    }
    keyframes->values = track.values;
    keyframes->calculationMode = track.mode;
    keyframes->duration = seconds;
    return keyframes;
}

} // namespace

scene::Value trackValueAt(const TimeCodeTrack& track, double code) {
    const double first = track.codes.front();
    const double span = track.codes.back() - first;
    if (!(span > 0)) {
        return code < track.codes.back() ? track.values.front() : track.values.back();
    }
    scene::KeyframeAnimation keyframes;
    keyframes.keyPath = track.keyPath;
    keyframes.calculationMode = track.mode;
    keyframes.values = track.values;
    for (const double sample : track.codes) {
        keyframes.keyTimes.push_back((sample - first) / span);
    }
    return keyframes.valueAtFraction((code - first) / span);
}

AnimationTimeline::AnimationTimeline(const Stage& stage)
    : authoredStart_(finiteNumber(stage.layerMetadata(kStartTimeCode))),
      authoredEnd_(finiteNumber(stage.layerMetadata(kEndTimeCode))) {
    codesPerSecond_ =
        positiveNumber(stage.layerMetadata(kTimeCodesPerSecond))
            .value_or(positiveNumber(stage.layerMetadata(kFramesPerSecond)).value_or(24.0));
}

std::optional<double> AnimationTimeline::startCode() const {
    return authoredStart_ ? authoredStart_ : earliest_;
}

void AnimationTimeline::add(const std::shared_ptr<scene::Node>& node, TimeCodeTrack track) {
    if (track.codes.empty() || track.codes.size() != track.values.size()) {
        return;
    }
    earliest_ = std::min(earliest_.value_or(track.codes.front()), track.codes.front());
    latest_ = std::max(latest_.value_or(track.codes.back()), track.codes.back());
    const auto [found, added] = nodeIndex_.try_emplace(node.get(), nodes_.size());
    if (added) {
        nodes_.push_back({node, {}});
    }
    nodes_[found->second].tracks.push_back(std::move(track));
}

void AnimationTimeline::forget(const scene::Node& node) {
    if (const auto found = nodeIndex_.find(&node); found != nodeIndex_.end()) {
        nodes_[found->second].tracks.clear();
    }
}

void AnimationTimeline::finish(SceneReadNotes& notes) {
    if (nodes_.empty()) {
        return;
    }
    const double start = *startCode();
    const double end = authoredEnd_.value_or(*latest_);
    const double seconds = (end - start) / codesPerSecond_;
    for (NodeTracks& animated : nodes_) {
        auto group = scene::AnimationGroup::create();
        group->duration = seconds;
        group->repeatCount = scene::repeatForever;
        for (const TimeCodeTrack& track : animated.tracks) {
            // The first frame is also what the scene shows when it is not played.
            try {
                animated.node->setValueForKeyPath(track.keyPath, trackValueAt(track, start));
            } catch (const scene::KeyPathError& error) {
                notes.push_back("An animation of " + animated.node->name() +
                                " cannot be applied (" + error.what() + "); it is left out.");
                continue;
            }
            if (end > start) {
                group->animations.push_back(
                    keyframesOf(clipped(track, start, end), start, end, seconds));
            }
        }
        if (!group->animations.empty()) {
            animated.node->addAnimation(group);
        }
    }
}

} // namespace usd::reader
