#pragma once

#include "motion/AnimationTimeline.h"

#include <SceneGraph/Node.h>
#include <USD/layer/LayerBuilder.h>

namespace usd::writer {

// Authors the node's local transform on `prim`: translate / orient / scale ops (identity parts
// left out), or one matrix op when the transform has shear or projective terms. An identity
// transform authors nothing. Ops the timeline animates are always authored, with the rest
// value as default and the timeline's samples (a matrix is then decomposed: a matrix op is
// never sampled, its elements would blend rather than rotate).
void writeTransformOps(LayerBuilder& build, const Path& prim, const scene::Node& node,
                       const AnimationTimeline& timeline);

// A channel's time samples as rotations: normalised, each on the shorter arc from the one
// before.
std::vector<scene::Quaternion> sampledRotations(const AnimationTimeline& timeline,
                                                const AnimatedChannel& channel,
                                                const std::vector<ChannelSample>& samples,
                                                const scene::Quaternion& rest);

} // namespace usd::writer
