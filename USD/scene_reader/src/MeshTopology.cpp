#include "MeshTopology.h"

#include "ReadLimits.h"
#include "ValueReading.h"

#include <USD/codec/TwoHalves.h>
#include <algorithm>

namespace usd::reader {
namespace {

// Empty when the mesh has no holes, as most have not.
std::vector<bool> holeMask(const ComposedPrim& mesh, std::size_t faceCount) {
    const auto holeFaces = readIntegerArray(mesh.attributeValue("holeIndices"));
    if (!holeFaces || holeFaces->empty()) {
        return {};
    }
    std::vector<bool> holes(faceCount, false);
    for (std::int32_t face : *holeFaces) {
        if (face >= 0 && static_cast<std::size_t>(face) < faceCount) {
            holes[static_cast<std::size_t>(face)] = true;
        }
    }
    return holes;
}

// The largest corner taken as unsigned, where a negative one is larger than any point: one
// pass without early exit, which the compiler can do several corners at a time.
bool cornersInRange(const IntegerArray& indices, std::size_t first, std::size_t count,
                    std::size_t pointCount) {
    std::uint32_t largest = 0;
    for (const std::int32_t corner : indices.numbers().subspan(first, count)) {
        largest = std::max(largest, static_cast<std::uint32_t>(corner));
    }
    constexpr std::size_t kNegative = std::size_t{1} << 31; // as unsigned, from here on
    return count == 0 || largest < std::min(pointCount, kNegative);
}

// Whether the first `count` corners all name a point; a big mesh's are checked in two halves
// at once.
bool leadingCornersInRange(const IntegerArray& indices, std::size_t count, std::size_t pointCount) {
    bool frontInRange = true;
    bool backInRange = true;
    inTwoHalves(count, 1, [&](IndexRange range) {
        (range.first == 0 ? frontInRange : backInRange) =
            cornersInRange(indices, range.first, range.size(), pointCount);
    });
    return frontInRange && backInRange;
}

// Three corners for every triangle the fans of the usable-sized faces make; reserved at once, as
// a big mesh has millions of them.
std::size_t fanCornerCount(const IntegerArray& counts, const CountSummary& summary) {
    if (summary.shared && *summary.shared >= 3) {
        return 3 * (summary.total - 2 * counts.size());
    }
    std::size_t corners = 0;
    for (std::int32_t count : counts) {
        corners += count >= 3 ? 3 * static_cast<std::size_t>(count - 2) : 0;
    }
    return corners;
}

struct FaceSelection {
    std::size_t faceLimit = 0; // faces from here on are left out
    std::vector<bool> holes;   // empty when there are none
    bool leftHanded = false;

    bool isHole(std::size_t face) const { return !holes.empty() && holes[face]; }
};

// Whether the kept faces are right-handed triangles with no holes and every corner among the
// points: then the triangles are faceVertexIndices as it is.
bool arePlainTriangles(const IntegerArray& counts, const CountSummary& summary,
                       const IntegerArray& indices, const FaceSelection& kept,
                       std::size_t pointCount) {
    if (kept.leftHanded || !kept.holes.empty()) {
        return false;
    }
    const bool allTriangles = summary.shared == 3;
    for (std::size_t face = 0; !allTriangles && face < kept.faceLimit; ++face) {
        if (counts[face] != 3) {
            return false;
        }
    }
    return leadingCornersInRange(indices, 3 * kept.faceLimit, pointCount);
}

struct Fans {
    std::vector<std::uint32_t> cornerFaceVertices;
    std::vector<std::uint32_t> triangleFaces;
    std::size_t skippedFaces = 0;
};

// Appends the fan of a face whose corners start at `first` in faceVertexIndices, in its
// front-facing order.
void appendFan(Fans& fans, std::uint32_t face, std::size_t first, std::size_t count,
               bool leftHanded) {
    for (std::size_t k = 1; k + 1 < count; ++k) {
        for (std::size_t corner : {std::size_t{0}, k, k + 1}) {
            const std::size_t offset = leftHanded ? (count - corner) % count : corner;
            fans.cornerFaceVertices.push_back(static_cast<std::uint32_t>(first + offset));
        }
        fans.triangleFaces.push_back(face);
    }
}

// `cornerCount` is the fans' corner count, for reserving at once.
Fans fanTriangulated(const IntegerArray& counts, std::size_t cornerCount,
                     const IntegerArray& indices, const FaceSelection& kept,
                     std::size_t pointCount) {
    Fans fans;
    fans.cornerFaceVertices.reserve(cornerCount);
    fans.triangleFaces.reserve(cornerCount / 3);
    std::size_t first = 0;
    for (std::size_t face = 0; face < counts.size(); ++face) {
        const auto count = static_cast<std::size_t>(counts[face]);
        const bool usable = face < kept.faceLimit && count >= 3 && !kept.isHole(face);
        if (usable && !cornersInRange(indices, first, count, pointCount)) {
            ++fans.skippedFaces;
        } else if (usable) {
            appendFan(fans, static_cast<std::uint32_t>(face), first, count, kept.leftHanded);
        }
        first += count;
    }
    return fans;
}

std::size_t highestPointUsed(const MeshTopology& topology) {
    std::uint32_t highest = 0;
    for (std::size_t i = 0; i < topology.cornerCount(); ++i) {
        highest = std::max(highest, topology.corner(i).point);
    }
    return topology.cornerCount() == 0 ? 0 : std::size_t{highest} + 1;
}

} // namespace

MeshTopology MeshTopology::ofTriangles(IntegerArray faceVertexIndices, std::size_t triangleCount) {
    MeshTopology topology;
    topology.faceVertexIndices_ = std::move(faceVertexIndices);
    topology.cornerCount_ = 3 * triangleCount;
    return topology;
}

MeshTopology MeshTopology::ofFans(IntegerArray faceVertexIndices,
                                  std::vector<std::uint32_t> cornerFaceVertices,
                                  std::vector<std::uint32_t> triangleFaces) {
    MeshTopology topology;
    topology.faceVertexIndices_ = std::move(faceVertexIndices);
    topology.cornerCount_ = cornerFaceVertices.size();
    topology.cornerFaceVertices_ = std::move(cornerFaceVertices);
    topology.triangleFaces_ = std::move(triangleFaces);
    return topology;
}

std::optional<MeshTopology> triangulateMesh(const ComposedPrim& mesh, std::size_t pointCount,
                                            bool firstHalfOnly, SceneReadNotes& notes) {
    const auto counts = readIntegerArray(mesh.attributeValue("faceVertexCounts"));
    auto indices = readIntegerArray(mesh.attributeValue("faceVertexIndices"));
    const std::string name = mesh.path().text();
    if (!counts || !indices) {
        notes.push_back("The mesh " + name + " has no faces; it is left out.");
        return std::nullopt;
    }
    const CountSummary summary = summarizeCounts(*counts);
    if (summary.anyNegative || summary.total != indices->size()) {
        notes.push_back("The mesh " + name +
                        " lists face sizes that do not match its corner indices; it is left out.");
        return std::nullopt;
    }
    const std::size_t faceCount = counts->size();
    const std::size_t fanCorners = fanCornerCount(*counts, summary);
    if (std::max({fanCorners, pointCount, faceCount, indices->size()}) > kMaxMeshCorners) {
        notes.push_back("The mesh " + name + " has more corners or points than can be " +
                        "indexed; it is left out.");
        return std::nullopt;
    }
    const FaceSelection kept{firstHalfOnly ? faceCount / 2 : faceCount, holeMask(mesh, faceCount),
                             readText(mesh.attributeValue("orientation")).value_or("") ==
                                 "leftHanded"};
    const std::size_t faceVertexCount = indices->size();
    std::optional<MeshTopology> topology;
    if (arePlainTriangles(*counts, summary, *indices, kept, pointCount)) {
        topology = MeshTopology::ofTriangles(std::move(*indices), kept.faceLimit);
    } else {
        Fans fans = fanTriangulated(*counts, fanCorners, *indices, kept, pointCount);
        if (fans.skippedFaces > 0) {
            notes.push_back("The mesh " + name + " has " + std::to_string(fans.skippedFaces) +
                            " faces with corners outside its points; they are left out.");
        }
        topology = MeshTopology::ofFans(std::move(*indices), std::move(fans.cornerFaceVertices),
                                        std::move(fans.triangleFaces));
    }
    topology->pointCount = pointCount;
    topology->usedPointCount = firstHalfOnly ? highestPointUsed(*topology) : pointCount;
    topology->faceCount = faceCount;
    topology->faceVertexCount = faceVertexCount;
    return topology;
}

} // namespace usd::reader
