#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace scene {

class Node;

/// The clip an animation was made from: one of the animations a source file lists (a glTF
/// animation, an imported file's animation take). Animations of one clip are meant to play
/// together; different clips of one file are often alternatives (idle, walk, run) that a
/// viewer plays one at a time. `index` is the clip's position in the file's list, from 0, so
/// it stays the file's own numbering even when some clip left nothing in the scene; `name`
/// is the file's name for it, empty when it has none.
struct AnimationClip {
    std::size_t index = 0;
    std::string name;

    friend bool operator==(const AnimationClip&, const AnimationClip&) = default;
};

/// "\"Walk\"", or "animation 2" for an unnamed clip: how notes name a clip.
std::string clipLabel(const AnimationClip& clip);

/// The clips of the animations registered in `root`'s hierarchy (root included), each once,
/// by index. Animations without a clip are not among them.
std::vector<AnimationClip> animationClipsOf(const Node& root);

} // namespace scene
