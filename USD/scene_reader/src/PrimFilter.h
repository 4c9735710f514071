#pragma once

#include "ComposedPrim.h"

#include <USD/scene_reader/SceneReader.h>

namespace usd::reader {

// Whether a prim (and everything below it) belongs in the scene: defined (not only "over",
// not a class), active, visible, not a guide or proxy, not shading or skeletal data.
bool isShownInScene(const ComposedPrim& prim);

// Prim types that hold other content than nodes: materials and their shaders, subsets of
// a mesh, skeletons and their animations, blend shapes.
bool holdsNoNodes(const ComposedPrim& prim);

} // namespace usd::reader
