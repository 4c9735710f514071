#include "AnimationKeys.h"

#include <SceneGraph/Node.h>
#include <algorithm>

namespace modelimporter {
namespace {

// Assimp's documented default when a file states no tick rate.
constexpr double defaultTicksPerSecond = 25.0;

} // namespace

double secondsPerTick(const aiAnimation& animation) {
    return 1.0 /
           (animation.mTicksPerSecond > 0 ? animation.mTicksPerSecond : defaultTicksPerSecond);
}

std::string animationLabel(const aiAnimation& animation, unsigned index) {
    const std::string name(animation.mName.C_Str(), animation.mName.length);
    return name.empty() ? "Animation " + std::to_string(index) : "Animation \"" + name + "\"";
}

scene::AnimationClip clipOf(const aiAnimation& animation, unsigned index) {
    return {index, std::string(animation.mName.C_Str(), animation.mName.length)};
}

std::shared_ptr<scene::KeyframeAnimation> keyframesAt(std::string keyPath,
                                                      const std::vector<double>& seconds,
                                                      std::vector<scene::Value> values,
                                                      scene::AnimationCalculationMode mode) {
    auto animation = scene::KeyframeAnimation::create(std::move(keyPath));
    const double last = seconds.empty() ? 0.0 : std::max(seconds.back(), 0.0);
    animation->duration = last;
    animation->keyTimes.reserve(seconds.size());
    for (const double time : seconds) {
        animation->keyTimes.push_back(last > 0 ? std::clamp(time / last, 0.0, 1.0) : 0.0);
    }
    animation->values = std::move(values);
    animation->calculationMode = mode;
    return animation;
}

std::shared_ptr<scene::AnimationGroup>
loopingGroup(double duration, const scene::AnimationClip& clip,
             std::vector<std::shared_ptr<scene::Animation>> animations) {
    auto group = scene::AnimationGroup::create();
    group->duration = duration;
    group->repeatCount = scene::repeatForever;
    group->clip = clip;
    group->animations = std::move(animations);
    return group;
}

void registerAnimation(scene::Node& node, std::shared_ptr<scene::AnimationGroup> group,
                       const std::string& channelName) {
    if (node.animationForKey(channelName)) {
        node.addAnimation(std::move(group));
    } else {
        node.addAnimation(std::move(group), channelName);
    }
}

} // namespace modelimporter
