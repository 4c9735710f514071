#include "VertexWelding.h"

#include <algorithm>
#include <functional>
#include <unordered_map>

namespace usd::reader {
namespace {

bool followsPoints(const Primvar* primvar) {
    const Interpolation interpolation = primvar->interpolation();
    return interpolation == Interpolation::constant || interpolation == Interpolation::vertex ||
           interpolation == Interpolation::varying;
}

struct KeyHash {
    std::size_t operator()(const std::vector<std::size_t>& key) const {
        std::size_t hash = key.size();
        for (std::size_t part : key) {
            hash ^=
                std::hash<std::size_t>{}(part) + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
        }
        return hash;
    }
};

} // namespace

WeldedVertices WeldedVertices::ofPoints(std::size_t pointCount) {
    WeldedVertices welded;
    welded.vertexCount_ = pointCount;
    return welded;
}

WeldedVertices WeldedVertices::ofCorners(std::vector<Corner> vertices,
                                         std::vector<std::uint32_t> cornerVertex) {
    WeldedVertices welded;
    welded.vertexCount_ = vertices.size();
    welded.vertices_ = std::move(vertices);
    welded.cornerVertex_ = std::move(cornerVertex);
    return welded;
}

WeldedVertices weldVertices(const MeshTopology& topology,
                            const std::vector<const Primvar*>& primvars) {
    if (std::ranges::all_of(primvars, followsPoints)) {
        return WeldedVertices::ofPoints(topology.usedPointCount);
    }
    std::vector<Corner> vertices;
    std::vector<std::uint32_t> cornerVertex;
    cornerVertex.reserve(topology.cornerCount());
    std::unordered_map<std::vector<std::size_t>, std::uint32_t, KeyHash> seen;
    std::vector<std::size_t> key;
    for (std::size_t i = 0; i < topology.cornerCount(); ++i) {
        const Corner corner = topology.corner(i);
        key.assign(1, corner.point);
        for (const Primvar* primvar : primvars) {
            key.push_back(primvar->valueIndex(corner));
        }
        const auto [found, added] =
            seen.try_emplace(key, static_cast<std::uint32_t>(vertices.size()));
        if (added) {
            vertices.push_back(corner);
        }
        cornerVertex.push_back(found->second);
    }
    return WeldedVertices::ofCorners(std::move(vertices), std::move(cornerVertex));
}

} // namespace usd::reader
