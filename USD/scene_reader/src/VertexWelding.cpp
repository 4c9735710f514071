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

// The used points are the vertices, in order, and each corner takes its point's.
WeldedVertices verticesAtPoints(const MeshTopology& topology) {
    WeldedVertices welded;
    welded.vertices.resize(topology.usedPointCount);
    for (std::size_t point = 0; point < topology.usedPointCount; ++point) {
        welded.vertices[point].point = static_cast<std::uint32_t>(point);
    }
    welded.cornerVertex.resize(topology.cornerCount());
    for (std::size_t i = 0; i < topology.cornerCount(); ++i) {
        welded.cornerVertex[i] = topology.corner(i).point;
    }
    return welded;
}

} // namespace

WeldedVertices weldVertices(const MeshTopology& topology,
                            const std::vector<const Primvar*>& primvars) {
    if (std::ranges::all_of(primvars, followsPoints)) {
        return verticesAtPoints(topology);
    }
    WeldedVertices welded;
    welded.cornerVertex.reserve(topology.cornerCount());
    std::unordered_map<std::vector<std::size_t>, std::uint32_t, KeyHash> seen;
    std::vector<std::size_t> key;
    for (std::size_t i = 0; i < topology.cornerCount(); ++i) {
        const Corner corner = topology.corner(i);
        key.assign(1, corner.point);
        for (const Primvar* primvar : primvars) {
            key.push_back(primvar->valueIndex(corner));
        }
        const auto [found, added] =
            seen.try_emplace(key, static_cast<std::uint32_t>(welded.vertices.size()));
        if (added) {
            welded.vertices.push_back(corner);
        }
        welded.cornerVertex.push_back(found->second);
    }
    return welded;
}

} // namespace usd::reader
