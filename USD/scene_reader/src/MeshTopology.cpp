#include "MeshTopology.h"

#include "ValueReading.h"

#include <algorithm>

namespace usd::reader {
namespace {

std::vector<bool> holeMask(const ComposedPrim& mesh, std::size_t faceCount) {
    std::vector<bool> holes(faceCount, false);
    for (std::int64_t face : readIntegerArray(mesh.attributeValue("holeIndices"))
                                 .value_or(std::vector<std::int64_t>{})) {
        if (face >= 0 && static_cast<std::size_t>(face) < faceCount) {
            holes[static_cast<std::size_t>(face)] = true;
        }
    }
    return holes;
}

bool cornersInRange(const std::vector<std::int64_t>& indices, std::size_t first, std::size_t count,
                    std::size_t pointCount) {
    return std::all_of(indices.begin() + static_cast<std::ptrdiff_t>(first),
                       indices.begin() + static_cast<std::ptrdiff_t>(first + count),
                       [&](std::int64_t point) {
                           return point >= 0 && static_cast<std::size_t>(point) < pointCount;
                       });
}

// Three corners for every triangle the fans of the usable-sized faces make; reserved at once, as
// a big mesh has millions of them.
std::size_t fanCornerCount(const std::vector<std::int64_t>& counts) {
    std::size_t corners = 0;
    for (std::int64_t count : counts) {
        corners += count >= 3 ? 3 * static_cast<std::size_t>(count - 2) : 0;
    }
    return corners;
}

// Corner k of the fan of a face, counted in the face's front-facing order.
Corner faceCorner(const std::vector<std::int64_t>& indices, std::size_t face, std::size_t first,
                  std::size_t count, std::size_t k, bool leftHanded) {
    const std::size_t offset = leftHanded ? (count - k) % count : k;
    const std::size_t faceVertex = first + offset;
    return {face, faceVertex, static_cast<std::size_t>(indices[faceVertex])};
}

} // namespace

std::optional<MeshTopology> triangulateMesh(const ComposedPrim& mesh, std::size_t pointCount,
                                            bool firstHalfOnly, SceneReadWarnings& warnings) {
    const auto counts = readIntegerArray(mesh.attributeValue("faceVertexCounts"));
    const auto indices = readIntegerArray(mesh.attributeValue("faceVertexIndices"));
    const std::string name = mesh.path().text();
    if (!counts || !indices) {
        warnings.push_back("The mesh " + name + " has no faces; it is left out.");
        return std::nullopt;
    }
    if (totalOfCounts(*counts) != indices->size()) {
        warnings.push_back(
            "The mesh " + name +
            " lists face sizes that do not match its corner indices; it is left out.");
        return std::nullopt;
    }
    const bool leftHanded =
        readText(mesh.attributeValue("orientation")).value_or("") == "leftHanded";
    MeshTopology topology{pointCount, counts->size(), indices->size(), {}};
    topology.corners.reserve(fanCornerCount(*counts));
    const std::vector<bool> holes = holeMask(mesh, counts->size());
    const std::size_t faceLimit = firstHalfOnly ? counts->size() / 2 : counts->size();
    std::size_t first = 0;
    std::size_t skipped = 0;
    for (std::size_t face = 0; face < counts->size(); ++face) {
        const auto count = static_cast<std::size_t>((*counts)[face]);
        const bool usable = face < faceLimit && count >= 3 && !holes[face];
        if (usable && !cornersInRange(*indices, first, count, pointCount)) {
            ++skipped;
        } else if (usable) {
            for (std::size_t k = 1; k + 1 < count; ++k) {
                for (std::size_t corner : {std::size_t{0}, k, k + 1}) {
                    topology.corners.push_back(
                        faceCorner(*indices, face, first, count, corner, leftHanded));
                }
            }
        }
        first += count;
    }
    if (skipped > 0) {
        warnings.push_back("The mesh " + name + " has " + std::to_string(skipped) +
                           " faces with corners outside its points; they are left out.");
    }
    return topology;
}

} // namespace usd::reader
