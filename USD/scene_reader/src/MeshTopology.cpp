#include "MeshTopology.h"

#include "ReadLimits.h"
#include "ValueReading.h"

#include <algorithm>

namespace usd::reader {
namespace {

std::vector<bool> holeMask(const ComposedPrim& mesh, std::size_t faceCount) {
    std::vector<bool> holes(faceCount, false);
    if (const auto holeFaces = readIntegerArray(mesh.attributeValue("holeIndices"))) {
        for (std::int32_t face : *holeFaces) {
            if (face >= 0 && static_cast<std::size_t>(face) < faceCount) {
                holes[static_cast<std::size_t>(face)] = true;
            }
        }
    }
    return holes;
}

bool cornersInRange(const IntegerArray& indices, std::size_t first, std::size_t count,
                    std::size_t pointCount) {
    const auto begin = indices.begin() + static_cast<std::ptrdiff_t>(first);
    return std::all_of(begin, begin + static_cast<std::ptrdiff_t>(count), [&](std::int32_t point) {
        return point >= 0 && static_cast<std::size_t>(point) < pointCount;
    });
}

// Three corners for every triangle the fans of the usable-sized faces make; reserved at once, as
// a big mesh has millions of them.
std::size_t fanCornerCount(const IntegerArray& counts) {
    std::size_t corners = 0;
    for (std::int32_t count : counts) {
        corners += count >= 3 ? 3 * static_cast<std::size_t>(count - 2) : 0;
    }
    return corners;
}

// Appends the fan of a face whose corners start at `first` in faceVertexIndices, in its
// front-facing order.
void appendFan(MeshTopology& topology, std::uint32_t face, std::size_t first, std::size_t count,
               bool leftHanded) {
    for (std::size_t k = 1; k + 1 < count; ++k) {
        for (std::size_t corner : {std::size_t{0}, k, k + 1}) {
            const std::size_t offset = leftHanded ? (count - corner) % count : corner;
            topology.cornerFaceVertices.push_back(static_cast<std::uint32_t>(first + offset));
        }
        topology.triangleFaces.push_back(face);
    }
}

std::size_t highestPointUsed(const MeshTopology& topology) {
    std::int32_t highest = -1;
    for (std::uint32_t faceVertex : topology.cornerFaceVertices) {
        highest = std::max(highest, topology.faceVertexIndices[faceVertex]);
    }
    return static_cast<std::size_t>(highest + 1);
}

} // namespace

std::optional<MeshTopology> triangulateMesh(const ComposedPrim& mesh, std::size_t pointCount,
                                            bool firstHalfOnly, SceneReadWarnings& warnings) {
    const auto counts = readIntegerArray(mesh.attributeValue("faceVertexCounts"));
    auto indices = readIntegerArray(mesh.attributeValue("faceVertexIndices"));
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
    const std::size_t cornerCount = fanCornerCount(*counts);
    if (std::max({cornerCount, pointCount, counts->size(), indices->size()}) > kMaxMeshCorners) {
        warnings.push_back("The mesh " + name + " has more corners or points than can be " +
                           "indexed; it is left out.");
        return std::nullopt;
    }
    const bool leftHanded =
        readText(mesh.attributeValue("orientation")).value_or("") == "leftHanded";
    MeshTopology topology{
        pointCount, pointCount, counts->size(), indices->size(), std::move(*indices), {}, {}};
    topology.cornerFaceVertices.reserve(cornerCount);
    topology.triangleFaces.reserve(cornerCount / 3);
    const std::vector<bool> holes = holeMask(mesh, counts->size());
    const std::size_t faceLimit = firstHalfOnly ? counts->size() / 2 : counts->size();
    std::size_t first = 0;
    std::size_t skipped = 0;
    for (std::size_t face = 0; face < counts->size(); ++face) {
        const auto count = static_cast<std::size_t>((*counts)[face]);
        const bool usable = face < faceLimit && count >= 3 && !holes[face];
        if (usable && !cornersInRange(topology.faceVertexIndices, first, count, pointCount)) {
            ++skipped;
        } else if (usable) {
            appendFan(topology, static_cast<std::uint32_t>(face), first, count, leftHanded);
        }
        first += count;
    }
    if (skipped > 0) {
        warnings.push_back("The mesh " + name + " has " + std::to_string(skipped) +
                           " faces with corners outside its points; they are left out.");
    }
    if (firstHalfOnly) {
        topology.usedPointCount = highestPointUsed(topology);
    }
    return topology;
}

} // namespace usd::reader
