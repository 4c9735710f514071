#pragma once

#include "ComposedPrim.h"
#include "SkeletonBones.h"

#include <SceneGraph/Node.h>
#include <USD/scene_reader/SceneReader.h>
#include <cstdint>
#include <vector>

namespace usd::reader {

// A mesh prim, the node showing it, and the point each of its geometry's vertices comes from
// (empty when vertex v is point v).
struct BoundMesh {
    const ComposedPrim& prim;
    scene::Node& node;
    const std::vector<std::uint32_t>& vertexPoints;
};

// Binds the mesh's geometry to the skeleton's bones from its joint indices and weights (at
// most the four strongest per vertex, normalised) and its geomBindTransform. Influences that
// do not fit the mesh leave it unskinned, with a warning. The mesh node is placed where the
// skeleton is, since the skeleton alone places skinned points.
void bindSkin(const BoundMesh& mesh, const SkeletonBones& skeleton, SceneReadNotes& notes);

} // namespace usd::reader
