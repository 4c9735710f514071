#include "MeshLayer.h"

#include <USD/layer/LayerBuilder.h>
#include <cmath>
#include <cstdint>

namespace bench {
namespace {

struct MeshArrays {
    usd::Array<usd::Vec3f> points;
    usd::Array<usd::Vec3f> normals;
    usd::Array<usd::Vec2f> uvs;
    usd::Array<std::int32_t> counts;
    usd::Array<std::int32_t> indices;
};

// Vertices row by row on a square grid whose side fits `pointCount`.
void addVertices(std::size_t pointCount, MeshArrays& mesh) {
    const auto side =
        static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(pointCount))));
    for (std::size_t point = 0; point < pointCount; ++point) {
        const float x = static_cast<float>(point % side) / static_cast<float>(side);
        const float z = static_cast<float>(point / side) / static_cast<float>(side);
        const float slope = 0.1f * std::cos(8 * x);
        const float length = std::sqrt(1 + slope * slope);
        mesh.points.push_back({x, 0.0125f * std::sin(8 * x), z});
        mesh.normals.push_back({-slope / length, 1 / length, 0});
        mesh.uvs.push_back({x, z});
    }
}

// One triangle per point, walking the grid's quads two triangles at a time.
void addTriangles(std::size_t pointCount, MeshArrays& mesh) {
    const auto side =
        static_cast<std::int32_t>(std::ceil(std::sqrt(static_cast<double>(pointCount))));
    for (std::int32_t corner = 0; mesh.counts.size() < pointCount; ++corner) {
        if (corner % side == side - 1) {
            continue;
        }
        const std::int32_t triangles[2][3] = {{corner, corner + side, corner + 1},
                                              {corner + 1, corner + side, corner + side + 1}};
        for (const auto& triangle : triangles) {
            mesh.counts.push_back(3);
            mesh.indices.insert(mesh.indices.end(), std::begin(triangle), std::end(triangle));
        }
    }
    mesh.counts.resize(pointCount);
    mesh.indices.resize(pointCount * 3);
}

} // namespace

usd::Layer meshLayer(std::size_t pointCount) {
    MeshArrays mesh;
    addVertices(pointCount, mesh);
    addTriangles(pointCount, mesh);
    usd::Layer layer;
    usd::LayerBuilder build(layer);
    const usd::Path prim = build.definePrim(usd::Path::fromString("/Mesh"), "Mesh");
    build.addAttribute(prim, "points", {"point3f[]", std::move(mesh.points)});
    build.addAttribute(prim, "normals", {"normal3f[]", std::move(mesh.normals)});
    build.addAttribute(prim, "primvars:st", {"texCoord2f[]", std::move(mesh.uvs)});
    build.addAttribute(prim, "faceVertexCounts", {"int[]", std::move(mesh.counts)});
    build.addAttribute(prim, "faceVertexIndices", {"int[]", std::move(mesh.indices)});
    return layer;
}

} // namespace bench
