#pragma once

#include "MeshTopology.h"
#include "Primvar.h"

namespace usd::reader {

// Normals for a mesh that authors none: one per face (flat shading) or, for a subdivision
// surface we do not subdivide, one per point averaged over its faces by area.
Primvar flatNormals(const MeshTopology& topology, const VectorArray& points);
Primvar smoothNormals(const MeshTopology& topology, const VectorArray& points);

} // namespace usd::reader
