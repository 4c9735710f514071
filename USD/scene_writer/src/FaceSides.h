#pragma once

#include "VertexAttributes.h"

#include <cstdint>
#include <vector>

namespace usd::writer {

// The AR viewer ignores doubleSided, so both sides are drawn by a copy of every vertex (normals
// negated) and every triangle (winding reversed), appended after the originals so a reader can
// fold the copy back.
void appendBackFaces(VertexAttributes& attributes, std::vector<std::uint32_t>& triangleCorners);

// Shows back faces instead of front faces: winding reversed, normals negated.
void turnFacesAround(VertexAttributes& attributes, std::vector<std::uint32_t>& triangleCorners);

// Replaces zero or non-finite normals by the normal of a triangle that uses the vertex.
void repairNormals(Array<Vec3f>& normals, const Array<Vec3f>& points,
                   const std::vector<std::uint32_t>& triangleCorners);

} // namespace usd::writer
