#pragma once

#include "ComposedPrim.h"

#include <USD/USDZReader.h>
#include <cstddef>
#include <optional>
#include <vector>

namespace usd::reader {

// One corner of an output triangle and where its data comes from.
struct Corner {
    std::size_t face = 0;       // for uniform data
    std::size_t faceVertex = 0; // position in faceVertexIndices, for face-varying data
    std::size_t point = 0;      // for vertex and varying data
};

// A mesh's polygons as triangles, with the counts primvars are checked against.
struct MeshTopology {
    std::size_t pointCount = 0;
    std::size_t faceCount = 0;
    std::size_t faceVertexCount = 0;
    // Three corners per triangle, front faces counter-clockwise.
    std::vector<Corner> corners;
};

// Fan-triangulates the faces of a Mesh prim (only the first half of them with
// `firstHalfOnly`, for meshes whose second half repeats the first reversed): faces of fewer than
// three corners, holes and faces with a corner outside the points are skipped (with a warning for
// the last); left-handed faces are reversed. Nullopt, with a warning, when the arrays are
// missing or disagree in size.
std::optional<MeshTopology> triangulateMesh(const ComposedPrim& mesh, std::size_t pointCount,
                                            bool firstHalfOnly, SceneReadWarnings& warnings);

} // namespace usd::reader
