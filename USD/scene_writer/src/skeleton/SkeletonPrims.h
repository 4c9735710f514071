#pragma once

// The Skeleton and SkelAnimation prims of a SkelRoot.

#include "motion/AnimationTimeline.h"
#include "skeleton/BlendShapes.h"
#include "skeleton/SkeletonPlan.h"
#include "skeleton/SkeletonPoses.h"

#include <USD/layer/LayerBuilder.h>

namespace usd::writer {

// The SkelRoot's contents, before anything is written: its Skeleton and SkelAnimation names
// claimed among its children.
SkelRootContents defineSkelRoot(const Path& skelRoot, SiblingNames& children);

// The Skeleton: joint tokens, bind and rest transforms (both always authored); no joints for
// a SkelRoot of blend shapes alone.
void writeSkeleton(LayerBuilder& build, const SkelRootContents& root, const SkeletonPlan* skeleton);

// The SkelAnimation: every joint's translation, rotation and scale at each pose, and the
// weights of the root's blend shapes, sampled where the file is animated.
void writeSkelAnimation(LayerBuilder& build, const SkelRootContents& root,
                        const SkeletonPlan* skeleton, const SkeletonPoses* poses,
                        const AnimationTimeline& timeline, Notes& notes);

} // namespace usd::writer
