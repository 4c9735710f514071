#pragma once

#include "ComposedPrim.h"

#include <SceneGraph/Transform.h>
#include <USD/scene_reader/SceneReader.h>
#include <optional>
#include <vector>

namespace usd::reader {

// A prim's local transform from its xformOpOrder.
struct LocalTransform {
    scene::Matrix4 matrix{1.0};
    // Set when the stack is one translate, one rotation and one scale (each optional, in that
    // order), so the node can keep position, orientation and scale.
    std::optional<scene::TransformComponents> components;
    // The stack starts with !resetXformStack!: ancestors' transforms do not apply.
    bool resetsXformStack = false;
};

// Ops that cannot be read are left out with a warning. Without a time code each op takes its
// default (else its earliest sample); at a time code, animated ops take their value then:
// interpolated between samples (rotations along the shorter arc), held before the first and
// after the last.
LocalTransform evaluateXformStack(const ComposedPrim& prim, SceneReadNotes& notes,
                                  std::optional<double> timeCode = std::nullopt);

// The time codes at which the stack's animation is to be evaluated so that playing it back
// with linear and spherical interpolation follows the file: every sample of every op, plus
// codes in between where an Euler rotation turns far enough for the two to differ. Empty for a
// stack that does not move.
std::vector<double> xformKeyCodes(const ComposedPrim& prim);

} // namespace usd::reader
