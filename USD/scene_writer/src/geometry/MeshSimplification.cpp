#include "geometry/MeshSimplification.h"

#include "geometry/PrimitiveCorners.h"
#include "geometry/VertexAttributes.h"

#include <algorithm>
#include <meshoptimizer.h>

namespace usd::writer {
namespace {

using scene::PrimitiveType;

// Any deformation is accepted: the triangle count asked for is what must be reached.
constexpr float unlimitedError = 1.0f;

bool isTriangles(PrimitiveType type) {
    return type == PrimitiveType::triangles || type == PrimitiveType::triangleStrip;
}

std::vector<float> positionsOf(const scene::Geometry& geometry, std::size_t vertexCount) {
    const auto source = geometry.firstSource(scene::GeometrySemantic::vertex);
    std::vector<float> positions;
    positions.reserve(vertexCount * 3);
    for (std::size_t v = 0; v < vertexCount; ++v) {
        const glm::dvec4 position = source->vector(v);
        positions.insert(positions.end(),
                         {static_cast<float>(position.x), static_cast<float>(position.y),
                          static_cast<float>(position.z)});
    }
    return positions;
}

// Elements whose triangles share vertices with another element's must keep their borders,
// or the seam between two materials would open.
unsigned optionsFor(const scene::Geometry& geometry) {
    const auto triangleElements =
        std::ranges::count_if(geometry.elements(), [](const auto& element) {
            return isTriangles(element->primitiveType());
        });
    return triangleElements > 1 ? unsigned{meshopt_SimplifyLockBorder} : 0u;
}

// meshoptimizer 0.18 has no attribute-weighted simplifier: only positions steer the
// collapses, and skin weights, blend-shape offsets and colours follow the vertices kept.
std::vector<std::uint32_t> simplifiedTriangles(const std::vector<std::uint32_t>& triangles,
                                               const std::vector<float>& positions,
                                               std::size_t target, unsigned options, bool sloppy) {
    std::vector<std::uint32_t> kept(triangles.size());
    const std::size_t vertexCount = positions.size() / 3;
    const std::size_t targetIndices = target * 3;
    std::size_t count = 0;
    if (sloppy)
        count = meshopt_simplifySloppy(kept.data(), triangles.data(), triangles.size(),
                                       positions.data(), vertexCount, sizeof(float) * 3,
                                       targetIndices, unlimitedError, nullptr);
    // The sloppy way can leave nothing of a small target, and the careful one nothing of a few
    // triangles: an element keeps what the careful way leaves, or itself, rather than vanish.
    if (count == 0)
        count = meshopt_simplify(kept.data(), triangles.data(), triangles.size(), positions.data(),
                                 vertexCount, sizeof(float) * 3, targetIndices, unlimitedError,
                                 options, nullptr);
    if (count == 0)
        return triangles;
    kept.resize(count);
    return kept;
}

} // namespace

std::size_t triangleCountOf(const scene::Geometry& geometry) {
    std::size_t triangles = 0;
    for (const auto& element : geometry.elements())
        if (isTriangles(element->primitiveType()))
            triangles += element->primitiveCount();
    return triangles;
}

std::optional<SimplifiedIndices> simplifiedIndices(const scene::Geometry& geometry,
                                                   std::size_t targetTriangles, bool sloppy) {
    const std::size_t vertexCount = vertexCountOf(geometry);
    const std::size_t triangles = std::max<std::size_t>(triangleCountOf(geometry), 1);
    const std::vector<float> positions = positionsOf(geometry, vertexCount);
    const unsigned options = optionsFor(geometry);
    SimplifiedIndices result;
    for (const auto& element : geometry.elements()) {
        const PrimitiveCorners corners = readPrimitiveCorners(*element, vertexCount);
        if (corners.outOfRange > 0)
            return std::nullopt;
        std::vector<std::uint32_t> indices(corners.corners.begin(), corners.corners.end());
        if (isTriangles(element->primitiveType())) {
            const std::size_t share = targetTriangles * element->primitiveCount() / triangles;
            indices = simplifiedTriangles(indices, positions, std::max<std::size_t>(share, 1),
                                          options, sloppy);
            result.triangles += indices.size() / 3;
        }
        result.elements.push_back(std::move(indices));
    }
    return result;
}

} // namespace usd::writer
