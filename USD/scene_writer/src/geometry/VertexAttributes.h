#pragma once

#include "Notes.h"

#include <SceneGraph/Geometry.h>
#include <USD/layer/Value.h>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace usd::writer {

struct TexCoordChannel {
    int channel = 0; // position among the geometry's texture-coordinate sources
    Array<Vec2f> values;
};

// Per-vertex data of one prim, in USD's conventions (t = 1 − v), for a chosen list of the
// geometry's vertices.
struct VertexAttributes {
    Array<Vec3f> points;
    // Absent when the geometry has no normals or only zero ones: viewers then shade faceted.
    std::optional<Array<Vec3f>> normals;
    std::vector<TexCoordChannel> texCoords;
    std::optional<Array<Vec3f>> colors;
    // Only when some colour is not fully opaque.
    std::optional<Array<float>> opacities;
    std::optional<Array<Vec3f>> tangents;
    // The geometry vertex each point copies, kept only when a caller asks for it (skinning and
    // blend shapes map per-vertex data of the geometry onto the prim's points).
    std::vector<std::uint32_t> origins;

    // Appends a copy of vertex `vertex` (every attribute).
    void appendCopyOf(std::size_t vertex);
    std::size_t size() const { return points.size(); }
};

// The geometry's vertices a prim keeps, in its order: all of them, or those of a list (which
// must outlive the selection).
class VertexSelection {
  public:
    static VertexSelection all(std::size_t vertexCount) { return {{}, vertexCount, true}; }
    static VertexSelection listed(std::span<const std::uint32_t> vertices) {
        return {vertices, vertices.size(), false};
    }

    std::size_t size() const { return size_; }
    std::uint32_t operator[](std::size_t i) const {
        return all_ ? static_cast<std::uint32_t>(i) : listed_[i];
    }

  private:
    VertexSelection(std::span<const std::uint32_t> listed, std::size_t size, bool all)
        : listed_(listed), size_(size), all_(all) {}

    std::span<const std::uint32_t> listed_;
    std::size_t size_;
    bool all_;
};

// Reads the geometry's sources for the selected vertices (each below the vertex source's
// count). Sources too short for the vertices are left out and reported.
VertexAttributes gatherVertexAttributes(const scene::Geometry& geometry,
                                        const VertexSelection& selection, Notes& notes);

// The number of vertices the geometry's positions give (0 without a position source).
std::size_t vertexCountOf(const scene::Geometry& geometry);

} // namespace usd::writer
