#pragma once

#include <SceneGraph/Geometry.h>
#include <cstddef>
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

// How a geometry is split into prims: one Mesh for all elements when they are all triangles
// and their materials agree on which faces show; otherwise one prim per element.
std::vector<GeometryPrimPlan> planGeometryPrims(const scene::Geometry& geometry);

// "Mesh", "Points" or "BasisCurves".
std::string_view primTypeName(GeometryPrimKind kind);

// The default child prim name for that kind ("mesh", "points", "curves").
std::string_view defaultPrimName(GeometryPrimKind kind);

} // namespace usd::writer
