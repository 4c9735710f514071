#pragma once

#include "ComposedPrim.h"
#include "NumberArrays.h"

#include <USD/scene_reader/SceneReader.h>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace usd::reader {

// One corner of an output triangle and where its data comes from. 32-bit numbers suffice:
// triangulateMesh refuses meshes with more corners than that.
struct Corner {
    std::uint32_t face = 0;       // for uniform data
    std::uint32_t faceVertex = 0; // position in faceVertexIndices, for face-varying data
    std::uint32_t point = 0;      // for vertex and varying data
};

// A mesh's polygons as triangles, with the counts primvars are checked against. A big mesh
// has millions of corners, so only what cannot be looked up is kept per corner, and nothing
// when its faces are all triangles to be drawn as they are, as most files' are.
class MeshTopology {
  public:
    std::size_t pointCount = 0;
    // Points past this one are back-face copies no kept face uses.
    std::size_t usedPointCount = 0;
    std::size_t faceCount = 0;
    std::size_t faceVertexCount = 0;

    // The first `triangleCount` faces, triangles in faceVertexIndices' order.
    static MeshTopology ofTriangles(IntegerArray faceVertexIndices, std::size_t triangleCount);
    // Fans: three positions in faceVertexIndices per triangle, and its face.
    static MeshTopology ofFans(IntegerArray faceVertexIndices,
                               std::vector<std::uint32_t> cornerFaceVertices,
                               std::vector<std::uint32_t> triangleFaces);

    std::size_t cornerCount() const { return cornerCount_; }
    // Whether the triangles are the first faces of faceVertexIndices, in its order.
    bool keepsFaceOrder() const { return cornerFaceVertices_.empty(); }
    std::uint32_t triangleFace(std::size_t triangle) const {
        return triangleFaces_.empty() ? static_cast<std::uint32_t>(triangle)
                                      : triangleFaces_[triangle];
    }
    Corner corner(std::size_t index) const {
        const auto faceVertex =
            keepsFaceOrder() ? static_cast<std::uint32_t>(index) : cornerFaceVertices_[index];
        return {triangleFace(index / 3), faceVertex,
                static_cast<std::uint32_t>(faceVertexIndices_[faceVertex])};
    }
    const IntegerArray& faceVertexIndices() const { return faceVertexIndices_; }

  private:
    IntegerArray faceVertexIndices_;
    std::size_t cornerCount_ = 0;
    std::vector<std::uint32_t> cornerFaceVertices_; // empty for triangles in order
    std::vector<std::uint32_t> triangleFaces_;      // empty for triangles in order
};

// Fan-triangulates the faces of a Mesh prim (only the first half of them with
// `firstHalfOnly`, for meshes whose second half repeats the first reversed): faces of fewer than
// three corners, holes and faces with a corner outside the points are skipped (with a warning for
// the last); left-handed faces are reversed. Nullopt, with a warning, when the arrays are
// missing, disagree in size or are too large to index.
std::optional<MeshTopology> triangulateMesh(const ComposedPrim& mesh, std::size_t pointCount,
                                            bool firstHalfOnly, SceneReadNotes& notes);

} // namespace usd::reader
