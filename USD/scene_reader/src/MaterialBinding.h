#pragma once

#include "Stage.h"

#include <USD/scene_reader/SceneReader.h>

namespace usd::reader {

// The Material prim that draws `prim`: the nearest preview or all-purpose binding on it or
// an ancestor, unless an ancestor's binding is stronger than its descendants'. Null when
// none is bound or the target is no Material.
const ComposedPrim* boundMaterial(const Stage& stage, const ComposedPrim& prim,
                                  SceneReadNotes& notes);

} // namespace usd::reader
