#pragma once

#include <SceneGraph/GeometryElement.h>
#include <USD/layer/Value.h>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace usd::writer {

// Vertex indices as USD stores them (faceVertexIndices), so a big mesh's move into the layer
// without a copy: each one is at most 2^31 − 1.
using CornerIndices = Array<std::int32_t>;

// The vertex indices of an element's primitives, grouped by primitive: three per triangle
// (strips unrolled with the alternating winding), two per line segment, one per point.
struct PrimitiveCorners {
    CornerIndices corners;
    // Primitives left out because an index reached past the vertices (or past what USD's
    // 32-bit indices hold), and strip triangles left out because they repeat an index.
    std::size_t outOfRange = 0;
    std::size_t degenerate = 0;
};

// Corners per primitive: 3 for triangle types, 2 for lines, 1 for points.
std::size_t cornersPerPrimitive(scene::PrimitiveType type);

// Reads every primitive of `element` whose indices address one of `vertexCount` vertices.
PrimitiveCorners readPrimitiveCorners(const scene::GeometryElement& element,
                                      std::size_t vertexCount);

} // namespace usd::writer
