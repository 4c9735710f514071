#pragma once

// What of a scene moves, worked out before any prim is written: the clips played, the
// animation timeline, the skeletons and the meshes they skin, and the nodes whose prims hold
// blend shapes.

#include "motion/AnimationTimeline.h"
#include "motion/ClipSelection.h"
#include "skeleton/SkeletonPlan.h"

#include <SceneGraph/Node.h>
#include <set>
#include <string>
#include <vector>

namespace usd::writer {

struct MotionPlan {
    ClipSelection clips;
    AnimationTimeline timeline;
    std::vector<SkeletonPlan> skeletons;
    // Nodes whose geometry is written in their skeleton's SkelRoot, not in the node tree.
    std::set<const scene::Node*> skinned;

    // `requestedClip` as WriteOptions::animation.
    static MotionPlan of(const scene::Node& root, const std::string& requestedClip, Notes& notes);

    // The skeletons placed below the node's prim.
    std::vector<const SkeletonPlan*> anchoredAt(const scene::Node& node) const;
    // Whether the node's prim becomes a SkelRoot for the blend shapes of its children: a child
    // that is not skinned has morph targets.
    bool holdsBlendShapes(const scene::Node& node) const;
};

} // namespace usd::writer
