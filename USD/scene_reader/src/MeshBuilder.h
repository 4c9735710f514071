#pragma once

#include "ComposedPrim.h"
#include "MaterialResolver.h"

#include <SceneGraph/Geometry.h>
#include <USD/USDZReader.h>
#include <memory>

namespace usd::reader {

// The geometry of a Mesh prim: triangles, normals, texture coordinates and colours, one
// element per material subset. Null, with a warning, when the mesh has nothing to draw.
std::shared_ptr<scene::Geometry> buildMeshGeometry(const ComposedPrim& mesh,
                                                   MaterialResolver& materials,
                                                   SceneReadWarnings& warnings);

} // namespace usd::reader
