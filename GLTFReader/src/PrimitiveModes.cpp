#include "PrimitiveModes.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace gltf {
namespace {

constexpr std::int64_t lineLoopMode = 2;
constexpr std::int64_t lineStripMode = 3;
constexpr std::int64_t triangleFanMode = 6;

using Indices = std::vector<std::uint64_t>;

Indices listedIndices(const scene::GeometryElement& element) {
    Indices indices(element.indexCount());
    for (std::size_t position = 0; position < indices.size(); ++position) {
        indices[position] = element.index(position);
    }
    return indices;
}

Indices lineSegments(const Indices& strip, bool closed) {
    Indices lines;
    if (strip.size() < 2) {
        return lines;
    }
    for (std::size_t first = 0; first + 1 < strip.size(); ++first) {
        lines.insert(lines.end(), {strip[first], strip[first + 1]});
    }
    if (closed) {
        lines.insert(lines.end(), {strip.back(), strip.front()});
    }
    return lines;
}

Indices fanTriangles(const Indices& fan) {
    Indices triangles;
    for (std::size_t first = 1; first + 1 < fan.size(); ++first) {
        triangles.insert(triangles.end(), {fan[first], fan[first + 1], fan.front()});
    }
    return triangles;
}

template <class Index>
std::shared_ptr<scene::GeometryElement> narrowed(const Indices& indices,
                                                 scene::PrimitiveType type) {
    const std::vector<Index> narrow(indices.begin(), indices.end());
    return scene::GeometryElement::fromIndices<Index>(narrow, type);
}

// Indices as 16-bit numbers when they fit, as 32-bit or 64-bit ones otherwise.
std::shared_ptr<scene::GeometryElement> elementOf(const Indices& indices,
                                                  scene::PrimitiveType type) {
    const std::uint64_t largest =
        indices.empty() ? 0 : *std::max_element(indices.begin(), indices.end());
    if (largest <= std::numeric_limits<std::uint16_t>::max()) {
        return narrowed<std::uint16_t>(indices, type);
    }
    if (largest <= std::numeric_limits<std::uint32_t>::max()) {
        return narrowed<std::uint32_t>(indices, type);
    }
    return scene::GeometryElement::fromIndices<std::uint64_t>(indices, type);
}

} // namespace

bool isUnrolledMode(std::int64_t mode) {
    return mode == lineLoopMode || mode == lineStripMode || mode == triangleFanMode;
}

std::shared_ptr<scene::GeometryElement> unrolledElement(const scene::GeometryElement& listed,
                                                        std::int64_t mode) {
    const Indices indices = listedIndices(listed);
    if (mode == triangleFanMode) {
        return elementOf(fanTriangles(indices), scene::PrimitiveType::triangles);
    }
    return elementOf(lineSegments(indices, mode == lineLoopMode), scene::PrimitiveType::line);
}

} // namespace gltf
