#pragma once

#include <SceneGraph/Geometry.h>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace usd::writer {

enum class GeometryPrimKind { mesh, points, curves };

// One prim a geometry becomes, and which of its elements it draws.
struct GeometryPrimPlan {
    GeometryPrimKind kind = GeometryPrimKind::mesh;
    std::vector<std::size_t> elements;
    // The prim keeps all the geometry's vertices (one Mesh with a subset per element), rather
    // than copying the ones its element uses.
    bool sharesAllVertices = false;
};

// USD numbers a prim's corners and faces with signed 32-bit integers.
constexpr std::uint64_t largestPrimCorners = std::numeric_limits<std::int32_t>::max();

// How a geometry is split into prims: one Mesh for all elements when they are all triangles,
// their materials agree on which faces show and their corners together (with the copies drawn
// for back faces) stay within `cornerLimit`; otherwise one prim per element. An element over
// the limit on its own is left out and its index added to `refused`, never written wrapped.
std::vector<GeometryPrimPlan> planGeometryPrims(const scene::Geometry& geometry,
                                                std::vector<std::size_t>& refused,
                                                std::uint64_t cornerLimit = largestPrimCorners);

// planGeometryPrims, with a finding for each element left out, naming `node`.
std::vector<GeometryPrimPlan> planGeometryPrims(const scene::Geometry& geometry,
                                                const std::string& node,
                                                std::vector<std::string>& notes);

// The corners a prim of that element holds: its own, twice when back faces are drawn too.
std::uint64_t cornersWritten(const scene::Geometry& geometry, std::size_t element);

// "Mesh", "Points" or "BasisCurves".
std::string_view primTypeName(GeometryPrimKind kind);

// The default child prim name for that kind ("mesh", "points", "curves").
std::string_view defaultPrimName(GeometryPrimKind kind);

} // namespace usd::writer
