#include "ComputedNormals.h"

namespace usd::reader {
namespace {

// Sums each triangle's area-weighted normal into the slot `slotOf` picks, then normalises.
template <typename SlotOf>
VectorArray accumulatedNormals(const MeshTopology& topology, const std::vector<glm::dvec4>& points,
                               std::size_t slots, SlotOf slotOf) {
    std::vector<glm::dvec3> sums(slots, glm::dvec3(0.0));
    for (std::size_t i = 0; i + 2 < topology.corners.size(); i += 3) {
        const glm::dvec3 a(points[topology.corners[i].point]);
        const glm::dvec3 b(points[topology.corners[i + 1].point]);
        const glm::dvec3 c(points[topology.corners[i + 2].point]);
        const glm::dvec3 weighted = glm::cross(b - a, c - a);
        for (std::size_t k = 0; k < 3; ++k) {
            sums[slotOf(topology.corners[i + k])] += weighted;
        }
    }
    VectorArray normals{{}, 3};
    normals.elements.reserve(slots);
    for (const glm::dvec3& sum : sums) {
        const double length = glm::length(sum);
        normals.elements.emplace_back(length > 0 ? sum / length : glm::dvec3(0, 1, 0), 0.0);
    }
    return normals;
}

} // namespace

// A face's three corners add its normal three times; the direction is what counts.
Primvar flatNormals(const MeshTopology& topology, const std::vector<glm::dvec4>& points) {
    return Primvar(accumulatedNormals(topology, points, topology.faceCount,
                                      [](const Corner& corner) { return corner.face; }),
                   {}, Interpolation::uniform);
}

Primvar smoothNormals(const MeshTopology& topology, const std::vector<glm::dvec4>& points) {
    return Primvar(accumulatedNormals(topology, points, topology.pointCount,
                                      [](const Corner& corner) { return corner.point; }),
                   {}, Interpolation::vertex);
}

} // namespace usd::reader
