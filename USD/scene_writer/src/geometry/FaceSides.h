#pragma once

#include "geometry/PrimitiveCorners.h"
#include "geometry/VertexAttributes.h"

#include <cstdint>
#include <vector>

namespace usd::writer {

// The AR viewer ignores doubleSided, so both sides are drawn by a copy of every vertex (normals
// negated) and every triangle (winding reversed), appended after the originals so a reader can
// fold the copy back. Fails with std::length_error when the copies would need indices past
// 2^31 − 1.
void appendBackFaces(VertexAttributes& attributes, CornerIndices& triangleCorners);

// Shows back faces instead of front faces: winding reversed, normals negated.
void turnFacesAround(VertexAttributes& attributes, CornerIndices& triangleCorners);

// Replaces zero or non-finite normals by the normal of a triangle that uses the vertex.
void repairNormals(Array<Vec3f>& normals, const Array<Vec3f>& points,
                   const CornerIndices& triangleCorners);

} // namespace usd::writer
