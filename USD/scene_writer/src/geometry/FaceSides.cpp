#include "geometry/FaceSides.h"

#include <USD/codec/MemoryPages.h>
#include <algorithm>
#include <cmath>
#include <glm/geometric.hpp>
#include <limits>
#include <stdexcept>

namespace usd::writer {
namespace {

void negate(Vec3f& n) {
    n = {-n[0], -n[1], -n[2]};
}

glm::vec3 toGlm(const Vec3f& v) {
    return {v[0], v[1], v[2]};
}

bool isUsable(const Vec3f& n) {
    return std::isfinite(n[0]) && std::isfinite(n[1]) && std::isfinite(n[2]) &&
           (n[0] != 0 || n[1] != 0 || n[2] != 0);
}

// Swapping the last two corners of each triangle reverses its winding.
void reverseWinding(CornerIndices& corners, std::size_t firstCorner) {
    for (std::size_t c = firstCorner; c + 2 < corners.size(); c += 3)
        std::swap(corners[c + 1], corners[c + 2]);
}

} // namespace

void appendBackFaces(VertexAttributes& attributes, CornerIndices& triangleCorners) {
    const std::size_t vertexCount = attributes.size();
    if (vertexCount > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) / 2)
        throw std::length_error("a double-sided mesh has too many vertices to copy for its back "
                                "faces");
    for (std::size_t v = 0; v < vertexCount; ++v)
        attributes.appendCopyOf(v);
    if (attributes.normals)
        std::for_each(attributes.normals->begin() + static_cast<std::ptrdiff_t>(vertexCount),
                      attributes.normals->end(), negate);
    const std::size_t cornerCount = triangleCorners.size();
    reserveWithHugePages(triangleCorners, cornerCount * 2);
    for (std::size_t c = 0; c < cornerCount; ++c)
        triangleCorners.push_back(triangleCorners[c] + static_cast<std::int32_t>(vertexCount));
    reverseWinding(triangleCorners, cornerCount);
}

void turnFacesAround(VertexAttributes& attributes, CornerIndices& triangleCorners) {
    if (attributes.normals)
        std::ranges::for_each(*attributes.normals, negate);
    reverseWinding(triangleCorners, 0);
}

void repairNormals(Array<Vec3f>& normals, const Array<Vec3f>& points,
                   const CornerIndices& triangleCorners) {
    if (std::ranges::all_of(normals, isUsable))
        return;
    for (std::size_t c = 0; c + 2 < triangleCorners.size(); c += 3) {
        const auto corner = [&](std::size_t k) {
            return static_cast<std::size_t>(triangleCorners[c + k]);
        };
        const glm::vec3 a = toGlm(points[corner(0)]);
        const glm::vec3 face =
            glm::cross(toGlm(points[corner(1)]) - a, toGlm(points[corner(2)]) - a);
        const float length = glm::length(face);
        if (!(length > 0) || !std::isfinite(length))
            continue;
        const glm::vec3 unit = face / length;
        for (std::size_t k = 0; k < 3; ++k)
            if (Vec3f& n = normals[corner(k)]; !isUsable(n))
                n = {unit.x, unit.y, unit.z};
    }
    // Vertices no usable triangle touches still need a finite normal.
    std::ranges::replace_if(
        normals, [](const Vec3f& n) { return !isUsable(n); }, Vec3f{0, 1, 0});
}

} // namespace usd::writer
