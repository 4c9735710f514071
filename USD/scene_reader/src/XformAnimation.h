#pragma once

#include "AnimationTimeline.h"
#include "ComposedPrim.h"

#include <SceneGraph/Node.h>
#include <USD/scene_reader/SceneReader.h>
#include <memory>

namespace usd::reader {

// Whether any op of the prim's transform stack is time-sampled.
bool hasXformAnimation(const ComposedPrim& prim);

// The motion of a prim's time-sampled transform ops as position, orientation and scale tracks
// of its node (those that change): the local transform evaluated at every key code and split
// into its parts. A stack with shear is played without it, with a warning.
void addXformAnimation(const ComposedPrim& prim, const std::shared_ptr<scene::Node>& node,
                       AnimationTimeline& timeline, SceneReadNotes& notes);

} // namespace usd::reader
