#include "geometry/PrimitiveCorners.h"

#include <USD/codec/MemoryPages.h>
#include <array>
#include <cstring>
#include <limits>

namespace usd::writer {
namespace {

using Corners = std::array<std::uint64_t, 3>;

// Strip triangle i uses (i, i+1, i+2) for even i and (i, i+2, i+1) for odd i, so every
// triangle keeps the winding of the first.
Corners stripTriangle(const scene::GeometryElement& element, std::size_t i) {
    const std::uint64_t a = element.index(i);
    const std::uint64_t b = element.index(i + 1);
    const std::uint64_t c = element.index(i + 2);
    return i % 2 == 0 ? Corners{a, b, c} : Corners{a, c, b};
}

// Reads an element's indices with the width it stores them in, chosen once rather than for
// every index.
template <typename Index> class TypedIndices {
  public:
    explicit TypedIndices(const scene::GeometryElement& element)
        : first_(element.data()->data() + element.dataOffset()) {}

    std::uint64_t operator[](std::size_t position) const {
        Index index;
        std::memcpy(&index, first_ + position * sizeof(Index), sizeof(Index));
        return index;
    }

  private:
    const std::uint8_t* first_;
};

template <typename Indices>
Corners listPrimitive(const Indices& indices, std::size_t primitive, std::size_t size) {
    Corners corners{};
    for (std::size_t k = 0; k < size; ++k)
        corners[k] = indices[primitive * size + k];
    return corners;
}

bool inRange(const Corners& corners, std::size_t size, std::size_t vertexCount) {
    constexpr std::uint64_t largestIndex = std::numeric_limits<std::int32_t>::max();
    for (std::size_t k = 0; k < size; ++k)
        if (corners[k] >= vertexCount || corners[k] > largestIndex)
            return false;
    return true;
}

bool repeatsIndex(const Corners& c) {
    return c[0] == c[1] || c[1] == c[2] || c[0] == c[2];
}

// In range, so each fits USD's 32-bit signed indices.
void appendCorners(PrimitiveCorners& result, const Corners& corners, std::size_t size) {
    for (std::size_t k = 0; k < size; ++k)
        result.corners.push_back(static_cast<std::int32_t>(corners[k]));
}

template <typename Indices>
void readListPrimitives(const scene::GeometryElement& element, const Indices& indices,
                        std::size_t vertexCount, PrimitiveCorners& result) {
    const std::size_t size = cornersPerPrimitive(element.primitiveType());
    for (std::size_t p = 0; p < element.primitiveCount(); ++p) {
        const Corners corners = listPrimitive(indices, p, size);
        if (!inRange(corners, size, vertexCount)) {
            ++result.outOfRange;
            continue;
        }
        appendCorners(result, corners, size);
    }
}

void readStripTriangles(const scene::GeometryElement& element, std::size_t vertexCount,
                        PrimitiveCorners& result) {
    for (std::size_t p = 0; p < element.primitiveCount(); ++p) {
        const Corners corners = stripTriangle(element, p);
        if (!inRange(corners, 3, vertexCount))
            ++result.outOfRange;
        else if (repeatsIndex(corners))
            ++result.degenerate;
        else
            appendCorners(result, corners, 3);
    }
}

} // namespace

std::size_t cornersPerPrimitive(scene::PrimitiveType type) {
    switch (type) {
    case scene::PrimitiveType::line:
        return 2;
    case scene::PrimitiveType::point:
        return 1;
    default:
        return 3;
    }
}

PrimitiveCorners readPrimitiveCorners(const scene::GeometryElement& element,
                                      std::size_t vertexCount) {
    PrimitiveCorners result;
    reserveWithHugePages(result.corners,
                         element.primitiveCount() * cornersPerPrimitive(element.primitiveType()));
    if (element.primitiveType() == scene::PrimitiveType::triangleStrip) {
        readStripTriangles(element, vertexCount, result);
        return result;
    }
    switch (element.bytesPerIndex()) {
    case 1:
        readListPrimitives(element, TypedIndices<std::uint8_t>(element), vertexCount, result);
        break;
    case 2:
        readListPrimitives(element, TypedIndices<std::uint16_t>(element), vertexCount, result);
        break;
    case 4:
        readListPrimitives(element, TypedIndices<std::uint32_t>(element), vertexCount, result);
        break;
    default:
        readListPrimitives(element, TypedIndices<std::uint64_t>(element), vertexCount, result);
        break;
    }
    return result;
}

} // namespace usd::writer
