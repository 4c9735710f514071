#pragma once

#include "ComposedPrim.h"
#include "MaterialResolver.h"

#include <SceneGraph/Geometry.h>
#include <USD/USDZReader.h>
#include <memory>

namespace usd::reader {

// The geometry of a Mesh prim: triangles, normals, texture coordinates and colours, one
// element per material subset. Null, with a warning, when the mesh has nothing to draw. Arrays
// the layer holds as they are drawn are viewed, with `layerKeeper` keeping them alive.
std::shared_ptr<scene::Geometry> buildMeshGeometry(const ComposedPrim& mesh,
                                                   MaterialResolver& materials,
                                                   const std::shared_ptr<const void>& layerKeeper,
                                                   SceneReadWarnings& warnings);

} // namespace usd::reader
