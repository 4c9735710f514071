#pragma once

#include "MeshTopology.h"
#include "Primvar.h"

#include <cstdint>
#include <vector>

namespace usd::reader {

// Scene-graph vertices for triangle corners: corners whose point and primvar values agree
// share one vertex. When the vertices are the points themselves, nothing is kept per vertex
// or corner.
class WeldedVertices {
  public:
    // Vertex v is point v, for the first `pointCount` points.
    static WeldedVertices ofPoints(std::size_t pointCount);
    // A corner that stands for each vertex, and the vertex of each triangle corner.
    static WeldedVertices ofCorners(std::vector<Corner> vertices,
                                    std::vector<std::uint32_t> cornerVertex);

    std::size_t vertexCount() const { return vertexCount_; }
    // Whether vertex v is point v.
    bool arePoints() const { return vertices_.empty(); }
    // A corner whose data vertex `v` takes.
    Corner vertex(std::size_t v) const {
        return arePoints() ? Corner{0, 0, static_cast<std::uint32_t>(v)} : vertices_[v];
    }
    std::uint32_t vertexOfCorner(const MeshTopology& topology, std::size_t corner) const {
        return cornerVertex_.empty() ? topology.corner(corner).point : cornerVertex_[corner];
    }
    // Drops what is kept per corner, once the elements are made.
    void releaseCorners() { cornerVertex_ = {}; }

  private:
    std::size_t vertexCount_ = 0;
    std::vector<Corner> vertices_;
    std::vector<std::uint32_t> cornerVertex_;
};

// When every primvar follows the points (or is constant), the vertices are the points
// themselves (less the unused back-face copies); otherwise one vertex per distinct combination.
WeldedVertices weldVertices(const MeshTopology& topology,
                            const std::vector<const Primvar*>& primvars);

} // namespace usd::reader
