#include "NormalGeneration.h"

#include <GLTFReader/GLTFUnarchiveError.h>
#include <array>
#include <cmath>
#include <cstring>
#include <string>

namespace gltf {
namespace {

struct NormalSums {
    std::vector<glm::dvec3> sums;
    std::vector<std::uint32_t> counts;
};

void requireTriangles(const scene::GeometryElement& element) {
    if (element.primitiveType() != scene::PrimitiveType::triangles &&
        element.primitiveType() != scene::PrimitiveType::triangleStrip) {
        throw GLTFUnarchiveError::notSupported(
            "createNormalSource: only triangles primitveType is supported: " +
            std::string(scene::primitiveTypeName(element.primitiveType())));
    }
}

[[noreturn]] void refuseVertexIndex(std::uint64_t vertex, std::size_t vertexCount) {
    throw GLTFUnarchiveError::dataInconsistent(
        "createNormalSource: vertex index " + std::to_string(vertex) +
        " is not below the vertex count " + std::to_string(vertexCount));
}

template <class Index> Index indexAt(const std::uint8_t* indexBytes, std::size_t position) {
    Index index;
    std::memcpy(&index, indexBytes + position * sizeof index, sizeof index);
    return index;
}

// Corners of triangle t: three consecutive indices of a list; in a strip, indices t, t + 1 and
// t + 2 with the first two swapped on odd triangles, so that all of them face the same way.
template <class Index>
std::array<Index, 3> cornersOf(const std::uint8_t* indexBytes, std::size_t triangle, bool strip) {
    if (!strip) {
        return {indexAt<Index>(indexBytes, 3 * triangle),
                indexAt<Index>(indexBytes, 3 * triangle + 1),
                indexAt<Index>(indexBytes, 3 * triangle + 2)};
    }
    const std::size_t odd = triangle % 2;
    return {indexAt<Index>(indexBytes, triangle + odd),
            indexAt<Index>(indexBytes, triangle + 1 - odd),
            indexAt<Index>(indexBytes, triangle + 2)};
}

template <class Index>
void addTriangleNormals(const std::uint8_t* indexBytes, const scene::GeometryElement& element,
                        std::span<const glm::dvec3> positions, NormalSums& normals) {
    const bool strip = element.primitiveType() == scene::PrimitiveType::triangleStrip;
    for (std::size_t triangle = 0; triangle < element.primitiveCount(); ++triangle) {
        const std::array<Index, 3> corners = cornersOf<Index>(indexBytes, triangle, strip);
        for (const Index corner : corners) {
            if (corner >= positions.size()) {
                refuseVertexIndex(corner, positions.size());
            }
        }
        const glm::dvec3& a = positions[corners[0]];
        const glm::dvec3 cross = glm::cross(positions[corners[1]] - a, positions[corners[2]] - a);
        const double length = glm::length(cross);
        if (!(length > 0) || !std::isfinite(length)) {
            continue;
        }
        const glm::dvec3 faceNormal = cross / length;
        for (const Index corner : corners) {
            normals.sums[corner] += faceNormal;
            ++normals.counts[corner];
        }
    }
}

void addElementNormals(const scene::GeometryElement& element, std::span<const glm::dvec3> positions,
                       NormalSums& normals) {
    requireTriangles(element);
    const std::uint8_t* indexBytes = element.data()->data() + element.dataOffset();
    switch (element.bytesPerIndex()) {
    case 1:
        return addTriangleNormals<std::uint8_t>(indexBytes, element, positions, normals);
    case 2:
        return addTriangleNormals<std::uint16_t>(indexBytes, element, positions, normals);
    case 4:
        return addTriangleNormals<std::uint32_t>(indexBytes, element, positions, normals);
    default:
        return addTriangleNormals<std::uint64_t>(indexBytes, element, positions, normals);
    }
}

} // namespace

std::vector<glm::vec3>
averagedTriangleNormals(std::span<const glm::dvec3> positions,
                        std::span<const std::shared_ptr<scene::GeometryElement>> elements) {
    NormalSums normals{.sums = std::vector<glm::dvec3>(positions.size(), glm::dvec3(0)),
                       .counts = std::vector<std::uint32_t>(positions.size(), 0)};
    for (const std::shared_ptr<scene::GeometryElement>& element : elements) {
        addElementNormals(*element, positions, normals);
    }
    std::vector<glm::vec3> result(positions.size(), glm::vec3(0));
    for (std::size_t vertex = 0; vertex < positions.size(); ++vertex) {
        // Normalising the sum equals normalising the mean; faces that cancel out leave zero.
        const double length = glm::length(normals.sums[vertex]);
        if (normals.counts[vertex] > 0 && length > 0) {
            result[vertex] = glm::vec3(normals.sums[vertex] / length);
        }
    }
    return result;
}

} // namespace gltf
