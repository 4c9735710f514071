#include <SceneGraph/Animation.h>
#include <SceneGraph/AnimationClip.h>
#include <SceneGraph/Node.h>
#include <map>

namespace scene {

std::string clipLabel(const AnimationClip& clip) {
    return clip.name.empty() ? "animation " + std::to_string(clip.index) : "\"" + clip.name + "\"";
}

std::vector<AnimationClip> animationClipsOf(const Node& root) {
    std::map<std::size_t, AnimationClip> clips;
    root.enumerateHierarchy([&](const Node& node) {
        for (const AnimationEntry& entry : node.animations()) {
            if (entry.animation && entry.animation->clip) {
                clips.try_emplace(entry.animation->clip->index, *entry.animation->clip);
            }
        }
    });
    std::vector<AnimationClip> ordered;
    for (auto& [index, clip] : clips) {
        ordered.push_back(std::move(clip));
    }
    return ordered;
}

} // namespace scene
