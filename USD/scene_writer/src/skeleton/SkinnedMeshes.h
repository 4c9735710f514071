#pragma once

// Skinned geometry written inside its skeleton's SkelRoot.

#include "geometry/GeometryPrims.h"
#include "motion/AnimationTimeline.h"
#include "skeleton/BlendShapes.h"
#include "skeleton/SkeletonPlan.h"
#include "skeleton/SkeletonPoses.h"

namespace usd::writer {

// Writes the skinned geometry of each of the skeleton's nodes as prims below `skelRoot`, with
// identity transforms (a skinned mesh is placed by its skeleton alone), joint indices and
// weights per point, the skeleton binding, blend shapes of its morph targets, and an extent
// that holds every pose. Returns the union of those extents.
std::optional<std::array<glm::dvec3, 2>>
writeSkinnedMeshes(GeometryContext& context, const Path& skelRoot, SiblingNames& children,
                   const SkeletonPlan& skeleton, const SkeletonPoses& poses,
                   SkelRootContents& contents);

} // namespace usd::writer
