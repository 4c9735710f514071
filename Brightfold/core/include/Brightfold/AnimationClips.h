#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace brightfold {

// One of the animation clips a source file lists: its index there (from 0) and its name
// (empty when the file gives none).
struct SourceClip {
    std::size_t index = 0;
    std::string name;

    friend bool operator==(const SourceClip&, const SourceClip&) = default;
};

// The clips of a converted model and those its package plays, which the preview offers to
// choose among.
struct AnimationClips {
    std::vector<SourceClip> all;     // by index
    std::vector<std::size_t> played; // indices, ascending

    friend bool operator==(const AnimationClips&, const AnimationClips&) = default;
};

// How the conversion options ask for that clip alone (ConversionOptions::animation): by its
// name when no other clip has that name, else by its index.
std::string clipRequest(const AnimationClips& clips, const SourceClip& clip);

// What a list of clips shows for one: its name, or "Animation N" by its index.
std::string clipTitle(const SourceClip& clip);

} // namespace brightfold
