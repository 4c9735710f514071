#pragma once

#include "SkinBinding.h"
#include "Stage.h"

#include <USD/scene_reader/SceneReader.h>
#include <string>
#include <vector>

namespace usd::reader {

// Gives the mesh node a morpher with one additive target per blend shape the mesh binds
// (skel:blendShapes paired with skel:blendShapeTargets): position offsets, and normal offsets
// when authored, spread from the shape's points (all, or those pointIndices names) to the
// geometry's vertices. A shape that cannot be read becomes a target that moves nothing, so the
// others keep their indices. Returns the tokens of the targets, in target order; none when the
// mesh binds no blend shapes.
std::vector<std::string> addBlendShapes(const Stage& stage, const BoundMesh& mesh,
                                        SceneReadNotes& notes);

} // namespace usd::reader
