#pragma once

#include "ComposedPrim.h"
#include "MaterialResolver.h"

#include <SceneGraph/Geometry.h>
#include <USD/scene_reader/SceneReader.h>
#include <memory>

namespace usd::reader {

// A Points prim as a point element over its points.
std::shared_ptr<scene::Geometry>
buildPointsGeometry(const ComposedPrim& prim, MaterialResolver& materials, SceneReadNotes& notes);

// A BasisCurves prim as line segments through its points (cubic curves through their
// control points).
std::shared_ptr<scene::Geometry>
buildCurvesGeometry(const ComposedPrim& prim, MaterialResolver& materials, SceneReadNotes& notes);

} // namespace usd::reader
