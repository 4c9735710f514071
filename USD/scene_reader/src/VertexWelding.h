#pragma once

#include "MeshTopology.h"
#include "Primvar.h"

#include <cstdint>
#include <vector>

namespace usd::reader {

// Scene-graph vertices for triangle corners: corners whose point and primvar values agree
// share one vertex.
struct WeldedVertices {
    std::vector<Corner> vertices;            // a corner that stands for each vertex
    std::vector<std::uint32_t> cornerVertex; // the vertex of each triangle corner
};

// When every primvar follows the points (or is constant), the vertices are the points
// themselves (less the unused back-face copies); otherwise one vertex per distinct combination.
WeldedVertices weldVertices(const MeshTopology& topology,
                            const std::vector<const Primvar*>& primvars);

} // namespace usd::reader
