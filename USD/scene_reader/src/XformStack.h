#pragma once

#include "ComposedPrim.h"

#include <SceneGraph/Transform.h>
#include <USD/USDZReader.h>
#include <optional>

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

// Ops that cannot be read are left out with a warning.
LocalTransform evaluateXformStack(const ComposedPrim& prim, SceneReadWarnings& warnings);

} // namespace usd::reader
