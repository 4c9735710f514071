#pragma once

#include "AnimationTimeline.h"
#include "ComposedPrim.h"
#include "SkeletonBones.h"

#include <SceneGraph/Node.h>
#include <USD/scene_reader/SceneReader.h>
#include <string>
#include <vector>

namespace usd::reader {

// Poses the skeleton's bones with a SkelAnimation: each joint it names (any order, any subset)
// takes its translations, rotations and scales, animated when they are time-sampled. Joints
// it does not name keep their rest transforms. An animation lacking one of the three, or with
// an array that does not match its joints, poses nothing and is reported.
void poseSkeleton(const ComposedPrim& animation, const SkeletonBones& skeleton,
                  AnimationTimeline& timeline, SceneReadNotes& notes);

// Drives the morph weights of `meshNode`, whose targets are the blend shapes named by
// `targetTokens`, with the animation's blendShapeWeights (matched by token).
void driveBlendShapeWeights(const ComposedPrim& animation,
                            const std::vector<std::string>& targetTokens,
                            const std::shared_ptr<scene::Node>& meshNode,
                            AnimationTimeline& timeline, SceneReadNotes& notes);

} // namespace usd::reader
