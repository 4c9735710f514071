#include "VertexWelding.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>

namespace usd::reader {
namespace {

bool followsPoints(const Primvar* primvar) {
    const Interpolation interpolation = primvar->interpolation();
    return interpolation == Interpolation::constant || interpolation == Interpolation::vertex ||
           interpolation == Interpolation::varying;
}

// The distinct vertices by their key (the point and each primvar's value number), kept side
// by side in one array, with an open-addressing table of vertex numbers: a big face-varying
// mesh has millions of corners, which a map with one allocated key each would make slow.
class VertexKeys {
  public:
    VertexKeys(std::size_t keyLength, std::size_t expectedVertices)
        : keyLength_(keyLength), slots_(std::bit_ceil(2 * expectedVertices + 2), empty) {}

    // The vertex with this key; `added` is true when it is new.
    std::uint32_t vertexFor(const std::vector<std::uint32_t>& key, bool& added) {
        std::size_t slot = hashOf(key.data()) & (slots_.size() - 1);
        for (;; slot = (slot + 1) & (slots_.size() - 1)) {
            if (slots_[slot] == empty) {
                break;
            }
            if (std::equal(key.begin(), key.end(), keyOf(slots_[slot]))) {
                added = false;
                return slots_[slot];
            }
        }
        const auto vertex = static_cast<std::uint32_t>(vertexCount());
        keys_.insert(keys_.end(), key.begin(), key.end());
        slots_[slot] = vertex;
        added = true;
        if (2 * vertexCount() > slots_.size()) {
            rehash();
        }
        return vertex;
    }

  private:
    static constexpr std::uint32_t empty = std::numeric_limits<std::uint32_t>::max();

    std::size_t vertexCount() const { return keys_.size() / keyLength_; }
    const std::uint32_t* keyOf(std::uint32_t vertex) const {
        return keys_.data() + static_cast<std::size_t>(vertex) * keyLength_;
    }
    std::size_t hashOf(const std::uint32_t* key) const {
        std::uint64_t hash = keyLength_;
        for (std::size_t i = 0; i < keyLength_; ++i) {
            hash = (hash ^ key[i]) * 0x9e3779b97f4a7c15ULL;
            hash ^= hash >> 29;
        }
        return static_cast<std::size_t>(hash);
    }
    void rehash() {
        slots_.assign(2 * slots_.size(), empty);
        for (std::uint32_t vertex = 0; vertex < vertexCount(); ++vertex) {
            std::size_t slot = hashOf(keyOf(vertex)) & (slots_.size() - 1);
            while (slots_[slot] != empty) {
                slot = (slot + 1) & (slots_.size() - 1);
            }
            slots_[slot] = vertex;
        }
    }

    std::size_t keyLength_;
    std::vector<std::uint32_t> keys_;
    std::vector<std::uint32_t> slots_;
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
    VertexKeys seen(1 + primvars.size(), topology.usedPointCount);
    std::vector<std::uint32_t> key;
    for (std::size_t i = 0; i < topology.cornerCount(); ++i) {
        const Corner corner = topology.corner(i);
        key.assign(1, corner.point);
        for (const Primvar* primvar : primvars) {
            key.push_back(static_cast<std::uint32_t>(primvar->valueIndex(corner)));
        }
        bool added = false;
        cornerVertex.push_back(seen.vertexFor(key, added));
        if (added) {
            vertices.push_back(corner);
        }
    }
    return WeldedVertices::ofCorners(std::move(vertices), std::move(cornerVertex));
}

} // namespace usd::reader
