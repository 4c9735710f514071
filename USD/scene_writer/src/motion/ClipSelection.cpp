#include "motion/ClipSelection.h"

#include "motion/AnimationTimeline.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <set>

namespace usd::writer {
namespace {

using Targets = std::set<AnimatedTarget>;

// What each clip moves, and what the animations of no clip move.
struct MovedTargets {
    std::map<std::size_t, Targets> byClip;
    Targets unclipped;
};

MovedTargets movedTargets(const scene::Node& root) {
    MovedTargets moved;
    root.enumerateHierarchy([&](const scene::Node& node) {
        for (const scene::AnimationEntry& entry : node.animations()) {
            if (!entry.animation)
                continue;
            const auto& clip = entry.animation->clip;
            Targets& into = clip ? moved.byClip[clip->index] : moved.unclipped;
            for (const AnimatedTarget& target : animatedTargetsOf(node, *entry.animation))
                into.insert(target);
        }
    });
    return moved;
}

bool overlaps(const Targets& one, const Targets& other) {
    return std::ranges::any_of(one, [&](const AnimatedTarget& t) { return other.contains(t); });
}

// "A", "A and B", "A, B and C".
std::string listed(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
    return text;
}

std::vector<std::string> labelsOf(const WrittenClips& clips, const std::vector<std::size_t>& of) {
    std::vector<std::string> labels;
    for (const scene::AnimationClip& clip : clips.all)
        if (std::ranges::find(of, clip.index) != of.end())
            labels.push_back(scene::clipLabel(clip));
    return labels;
}

std::optional<std::size_t> requestedIndex(const WrittenClips& clips, const std::string& requested) {
    for (const scene::AnimationClip& clip : clips.all)
        if (clip.name == requested)
            return clip.index;
    std::size_t index = 0;
    const auto [end, error] =
        std::from_chars(requested.data(), requested.data() + requested.size(), index);
    const bool number = error == std::errc{} && end == requested.data() + requested.size();
    if (number && std::ranges::any_of(clips.all, [&](const auto& c) { return c.index == index; }))
        return index;
    return std::nullopt;
}

void noteUnknownRequest(const WrittenClips& clips, const std::string& requested, Notes& notes) {
    std::vector<std::size_t> every;
    for (const scene::AnimationClip& clip : clips.all)
        every.push_back(clip.index);
    notes.push_back(clips.all.empty()
                        ? "The animation clip \"" + requested +
                              "\" was asked for, but the model has no clips to choose from."
                        : "The model has no animation clip \"" + requested +
                              "\" (its clips: " + listed(labelsOf(clips, every)) +
                              "); the default choice was written.");
}

void noteLeftOut(const WrittenClips& clips, const std::vector<std::size_t>& leftOut, Notes& notes) {
    if (leftOut.empty())
        return;
    const std::string left =
        listed(labelsOf(clips, leftOut)) + (leftOut.size() == 1 ? " was" : " were") + " left out";
    const std::string written = clips.played.empty()
                                    ? "the animations of no clip were written; " + left
                                    : listed(labelsOf(clips, clips.played)) +
                                          (clips.played.size() == 1 ? " was" : " were") +
                                          " written; " + left;
    notes.push_back("The AR viewer plays one timeline, and animation clips that move the same "
                    "properties would hide each other on it: " +
                    written + " (--animation, or the clip chosen on the preview, writes another).");
}

// Every clip in order, unless it moves what a clip kept before it (or no clip) moves.
void chooseByDefault(WrittenClips& clips, const MovedTargets& moved, Notes& notes) {
    Targets taken = moved.unclipped;
    std::vector<std::size_t> leftOut;
    const Targets none;
    for (const scene::AnimationClip& clip : clips.all) {
        const auto found = moved.byClip.find(clip.index);
        const Targets& targets = found == moved.byClip.end() ? none : found->second;
        if (overlaps(targets, taken)) {
            leftOut.push_back(clip.index);
            continue;
        }
        clips.played.push_back(clip.index);
        taken.insert(targets.begin(), targets.end());
    }
    noteLeftOut(clips, leftOut, notes);
}

} // namespace

ClipSelection ClipSelection::of(const scene::Node& root, const std::string& requested,
                                Notes& notes) {
    ClipSelection selection;
    WrittenClips& clips = selection.clips_;
    clips.all = scene::animationClipsOf(root);
    if (!requested.empty()) {
        if (const auto index = requestedIndex(clips, requested)) {
            clips.played = {*index};
            return selection;
        }
        noteUnknownRequest(clips, requested, notes);
    }
    chooseByDefault(clips, movedTargets(root), notes);
    return selection;
}

bool ClipSelection::plays(const scene::Animation& animation) const {
    return !animation.clip ||
           std::ranges::find(clips_.played, animation.clip->index) != clips_.played.end();
}

} // namespace usd::writer
