#pragma once

#include <SceneGraph/Animation.h>
#include <assimp/anim.h>
#include <memory>
#include <string>
#include <vector>

namespace scene {
class Node;
} // namespace scene

namespace modelimporter {

// Seconds per tick of the animation's clock.
double secondsPerTick(const aiAnimation& animation);

// "Animation \"Walk\"", or "Animation 2" for an unnamed one, to begin a note with.
std::string animationLabel(const aiAnimation& animation, unsigned index);

// The clip the file's animation number `index` makes.
scene::AnimationClip clipOf(const aiAnimation& animation, unsigned index);

// Key-frame values laid out the way the glTF reader lays them out: the animation lasts until
// its last key, and key times are fractions of that. Key times must be ascending seconds.
std::shared_ptr<scene::KeyframeAnimation> keyframesAt(std::string keyPath,
                                                      const std::vector<double>& seconds,
                                                      std::vector<scene::Value> values,
                                                      scene::AnimationCalculationMode mode);

// A group of the clip that loops forever over `duration` seconds.
std::shared_ptr<scene::AnimationGroup>
loopingGroup(double duration, const scene::AnimationClip& clip,
             std::vector<std::shared_ptr<scene::Animation>> animations);

// Registers the group under `channelName` ("translation", "weights" …) unless another
// animation of the file already took that key on the node; then under a fresh key, so that
// every animation of the file stays on the node.
void registerAnimation(scene::Node& node, std::shared_ptr<scene::AnimationGroup> group,
                       const std::string& channelName);

} // namespace modelimporter
