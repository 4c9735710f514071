#pragma once

// Fewer triangles for one geometry, by collapsing edges onto vertices it already has.

#include <SceneGraph/Geometry.h>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace usd::writer {

// The triangles a geometry draws: its triangle elements' and its strips'.
std::size_t triangleCountOf(const scene::Geometry& geometry);

// The indices of each element after simplification: triangle lists for triangle elements and
// strips (a strip comes back unrolled), the others' indices as they were. Every index names a
// vertex of the original geometry.
struct SimplifiedIndices {
    std::vector<std::vector<std::uint32_t>> elements;
    std::size_t triangles = 0;
};

// The geometry's triangles brought down towards `targetTriangles` in all (each element its
// share). The careful way keeps the shape and its attribute seams (vertices at one position
// but with different texture coordinates or normals stay apart) and may stop short of the
// target; the sloppy way lets go of the topology to get there. Nothing when an index names no
// vertex (such a mesh is left as it is).
std::optional<SimplifiedIndices> simplifiedIndices(const scene::Geometry& geometry,
                                                   std::size_t targetTriangles, bool sloppy);

} // namespace usd::writer
