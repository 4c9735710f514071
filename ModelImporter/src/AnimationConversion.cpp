#include "AnimationConversion.h"

#include "AssimpValues.h"

#include <SceneGraph/Animation.h>
#include <algorithm>
#include <optional>

namespace modelimporter {
namespace {

// Assimp's documented default when a file states no tick rate.
constexpr double defaultTicksPerSecond = 25.0;

struct Clock {
    double durationTicks;
    double durationSeconds;
};

Clock clockOf(const aiAnimation& animation) {
    const double ticksPerSecond =
        animation.mTicksPerSecond > 0 ? animation.mTicksPerSecond : defaultTicksPerSecond;
    return {animation.mDuration, animation.mDuration / ticksPerSecond};
}

template <class Key, class Convert>
std::shared_ptr<scene::Animation> keyframes(std::string keyPath, const Key* keys, unsigned count,
                                            const Clock& clock, Convert convert) {
    auto animation = scene::KeyframeAnimation::create(std::move(keyPath));
    animation->duration = clock.durationSeconds;
    for (unsigned i = 0; i < count; ++i) {
        const double fraction = clock.durationTicks > 0 ? keys[i].mTime / clock.durationTicks : 0;
        animation->keyTimes.push_back(std::clamp(fraction, 0.0, 1.0));
        animation->values.push_back(convert(keys[i].mValue));
    }
    return animation;
}

std::shared_ptr<scene::AnimationGroup> groupOf(const aiNodeAnim& channel, const Clock& clock) {
    auto group = scene::AnimationGroup::create();
    group->duration = clock.durationSeconds;
    group->repeatCount = scene::repeatForever;
    const auto vector = [](const aiVector3D& v) { return scene::Value(toVector(v)); };
    if (channel.mNumPositionKeys > 0) {
        group->animations.push_back(
            keyframes("position", channel.mPositionKeys, channel.mNumPositionKeys, clock, vector));
    }
    if (channel.mNumRotationKeys > 0) {
        group->animations.push_back(
            keyframes("orientation", channel.mRotationKeys, channel.mNumRotationKeys, clock,
                      [](const aiQuaternion& q) { return scene::Value(toQuaternion(q)); }));
    }
    if (channel.mNumScalingKeys > 0) {
        group->animations.push_back(
            keyframes("scale", channel.mScalingKeys, channel.mNumScalingKeys, clock, vector));
    }
    return group;
}

} // namespace

void convertAnimations(const aiScene& scene, const NodeFinder& findNode) {
    for (unsigned a = 0; a < scene.mNumAnimations; ++a) {
        const aiAnimation& animation = *scene.mAnimations[a];
        const Clock clock = clockOf(animation);
        const std::string name = toString(animation.mName);
        for (unsigned c = 0; c < animation.mNumChannels; ++c) {
            const aiNodeAnim& channel = *animation.mChannels[c];
            if (auto node = findNode(toString(channel.mNodeName))) {
                node->addAnimation(groupOf(channel, clock),
                                   name.empty() ? std::nullopt : std::optional(name));
            }
        }
    }
}

} // namespace modelimporter
