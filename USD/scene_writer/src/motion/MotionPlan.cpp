#include "motion/MotionPlan.h"

#include <SceneGraph/Morpher.h>
#include <algorithm>

namespace usd::writer {

MotionPlan MotionPlan::of(const scene::Node& root, const std::string& requestedClip, Notes& notes) {
    MotionPlan plan{ClipSelection::of(root, requestedClip, notes), {}, {}, {}};
    plan.timeline = AnimationTimeline::of(root, plan.clips, notes);
    plan.skeletons = planSkeletons(root, notes);
    for (const SkeletonPlan& skeleton : plan.skeletons)
        plan.skinned.insert(skeleton.skinnedNodes.begin(), skeleton.skinnedNodes.end());
    return plan;
}

std::vector<const SkeletonPlan*> MotionPlan::anchoredAt(const scene::Node& node) const {
    std::vector<const SkeletonPlan*> anchored;
    for (const SkeletonPlan& skeleton : skeletons)
        if (skeleton.anchor == &node)
            anchored.push_back(&skeleton);
    return anchored;
}

bool MotionPlan::holdsBlendShapes(const scene::Node& node) const {
    return std::ranges::any_of(node.childNodes(), [&](const auto& child) {
        return !skinned.contains(child.get()) && child->geometry() && child->morpher() &&
               !child->morpher()->targets().empty();
    });
}

} // namespace usd::writer
