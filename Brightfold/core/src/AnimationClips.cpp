#include <Brightfold/AnimationClips.h>
#include <algorithm>

namespace brightfold {

std::string clipRequest(const AnimationClips& clips, const SourceClip& clip) {
    const auto sameName = [&](const SourceClip& other) { return other.name == clip.name; };
    // A name that reads as a number could be taken for another clip's index.
    const bool digitsOnly =
        std::ranges::all_of(clip.name, [](char c) { return c >= '0' && c <= '9'; });
    if (!clip.name.empty() && !digitsOnly && std::ranges::count_if(clips.all, sameName) == 1) {
        return clip.name;
    }
    return std::to_string(clip.index);
}

std::string clipTitle(const SourceClip& clip) {
    return clip.name.empty() ? "Animation " + std::to_string(clip.index) : clip.name;
}

} // namespace brightfold
