#pragma once

// A skeleton's joints posed at the codes its animation is written at.

#include "motion/AnimationTimeline.h"
#include "skeleton/SkeletonPlan.h"

#include <SceneGraph/Transform.h>
#include <vector>

namespace usd::writer {

struct SkeletonPoses {
    // Ascending; empty when the file has no animation.
    std::vector<int> codes;
    // Per code (one rest pose when there are no codes), each joint's local transform.
    std::vector<std::vector<scene::TransformComponents>> locals;

    // Per pose, each joint's transform in the skeleton's space.
    std::vector<std::vector<scene::Matrix4>> skeletonSpace(const SkeletonPlan& skeleton) const;
};

// The joints' local transforms at the union of the codes of their channels. A skeleton that
// holds still in an animated file still gets two samples, at the timeline's start and end:
// some viewers draw a skinned mesh unskinned when its animation has a single sample.
SkeletonPoses poseSkeleton(const SkeletonPlan& skeleton, const AnimationTimeline& timeline);

// The codes and channels of a set of channels, as SkelAnimation samples them.
std::vector<const AnimatedChannel*> jointChannels(const SkeletonPlan& skeleton,
                                                  const AnimationTimeline& timeline);

} // namespace usd::writer
