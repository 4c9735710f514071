#pragma once

// A geometry's vertices renumbered after some of them went out of use: every per-vertex array
// (attributes, morph-target offsets, skin weights and joints) keeps the same vertices in the
// same new order, so they stay each other's.

#include <SceneGraph/GeometrySource.h>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace usd::writer {

class VertexCompaction {
  public:
    // The vertices (of `vertexCount`) that `elements` still use, numbered in the order they
    // are first used. Every index must be below the count.
    VertexCompaction(std::size_t vertexCount,
                     const std::vector<std::vector<std::uint32_t>>& elements);

    std::size_t keptCount() const { return kept_.size(); }

    // The indices with the new numbers.
    std::vector<std::uint32_t> renumbered(const std::vector<std::uint32_t>& indices) const;

    // The source's vectors of the kept vertices, in their new order and stored as before; made
    // once per source, so a source shared by a geometry and its skinner stays shared. The
    // source must hold a vector for each of the original vertices.
    std::shared_ptr<scene::GeometrySource>
    compacted(const std::shared_ptr<scene::GeometrySource>& source);

  private:
    static constexpr std::uint32_t unused = ~std::uint32_t{0};

    std::vector<std::uint32_t> newNumbers_; // by old number; `unused` when gone
    std::vector<std::uint32_t> kept_;       // the old number of each new one
    std::map<const scene::GeometrySource*, std::shared_ptr<scene::GeometrySource>> made_;
};

} // namespace usd::writer
