#pragma once

#include "ComposedPrim.h"
#include "MaterialResolver.h"

#include <SceneGraph/Geometry.h>
#include <USD/scene_reader/SceneReader.h>
#include <cstdint>
#include <memory>
#include <vector>

namespace usd::reader {

struct MeshGeometry {
    std::shared_ptr<scene::Geometry> geometry;
    // The point each vertex comes from, when asked for and vertex v is not simply point v.
    std::vector<std::uint32_t> vertexPoints;
};

// The geometry of a Mesh prim: triangles, normals, texture coordinates and colours, one
// element per material subset. Null, with a warning, when the mesh has nothing to draw. Arrays
// the layer holds as they are drawn are viewed, with `layerKeeper` keeping them alive.
MeshGeometry buildMeshGeometry(const ComposedPrim& mesh, MaterialResolver& materials,
                               const std::shared_ptr<const void>& layerKeeper,
                               SceneReadNotes& notes, bool keepVertexPoints = false);

} // namespace usd::reader
