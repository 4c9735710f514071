#include "ComputedNormals.h"

namespace usd::reader {
namespace {

// Sums each triangle's area-weighted normal into the slot `slotOf` picks, then normalises.
template <typename SlotOf>
VectorArray accumulatedNormals(const MeshTopology& topology, const VectorArray& points,
                               std::size_t slots, SlotOf slotOf) {
    std::vector<glm::dvec3> sums(slots, glm::dvec3(0.0));
    for (std::size_t i = 0; i + 2 < topology.cornerCount(); i += 3) {
        const Corner corners[] = {topology.corner(i), topology.corner(i + 1),
                                  topology.corner(i + 2)};
        const glm::dvec3 a(points[corners[0].point]);
        const glm::dvec3 b(points[corners[1].point]);
        const glm::dvec3 c(points[corners[2].point]);
        const glm::dvec3 weighted = glm::cross(b - a, c - a);
        for (const Corner& corner : corners) {
            sums[slotOf(corner)] += weighted;
        }
    }
    std::vector<float> normals;
    normals.reserve(3 * slots);
    for (const glm::dvec3& sum : sums) {
        const double length = glm::length(sum);
        const glm::vec3 normal(length > 0 ? sum / length : glm::dvec3(0, 1, 0));
        normals.insert(normals.end(), {normal.x, normal.y, normal.z});
    }
    return VectorArray(std::move(normals), 3);
}

} // namespace

// A face's three corners add its normal three times; the direction is what counts.
Primvar flatNormals(const MeshTopology& topology, const VectorArray& points) {
    return Primvar(accumulatedNormals(topology, points, topology.faceCount,
                                      [](const Corner& corner) { return corner.face; }),
                   {}, Interpolation::uniform);
}

Primvar smoothNormals(const MeshTopology& topology, const VectorArray& points) {
    return Primvar(accumulatedNormals(topology, points, topology.pointCount,
                                      [](const Corner& corner) { return corner.point; }),
                   {}, Interpolation::vertex);
}

} // namespace usd::reader
