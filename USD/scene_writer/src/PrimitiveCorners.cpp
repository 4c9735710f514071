#include "PrimitiveCorners.h"

#include <array>
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

Corners listPrimitive(const scene::GeometryElement& element, std::size_t primitive,
                      std::size_t size) {
    Corners corners{};
    for (std::size_t k = 0; k < size; ++k)
        corners[k] = element.index(primitive * size + k);
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
    const scene::PrimitiveType type = element.primitiveType();
    const std::size_t size = cornersPerPrimitive(type);
    const bool strip = type == scene::PrimitiveType::triangleStrip;
    PrimitiveCorners result;
    result.corners.reserve(element.primitiveCount() * size);
    for (std::size_t p = 0; p < element.primitiveCount(); ++p) {
        const Corners corners = strip ? stripTriangle(element, p) : listPrimitive(element, p, size);
        if (!inRange(corners, size, vertexCount)) {
            ++result.outOfRange;
        } else if (strip && repeatsIndex(corners)) {
            ++result.degenerate;
        } else {
            for (std::size_t k = 0; k < size; ++k)
                result.corners.push_back(static_cast<std::uint32_t>(corners[k]));
        }
    }
    return result;
}

} // namespace usd::writer
