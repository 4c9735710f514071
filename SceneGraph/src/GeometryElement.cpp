#include "ByteRange.h"
#include "ComponentReading.h"
#include "EnumNames.h"

#include <SceneGraph/GeometryElement.h>
#include <stdexcept>
#include <string>

namespace scene {

std::string_view primitiveTypeName(PrimitiveType value) {
    static constexpr std::array<std::string_view, 4> names = {"triangles", "triangleStrip", "line",
                                                              "point"};
    return detail::enumName(names, value);
}

std::size_t primitiveCountFor(PrimitiveType type, std::size_t indexCount) {
    switch (type) {
    case PrimitiveType::triangles:
        return indexCount / 3;
    case PrimitiveType::triangleStrip:
        return indexCount < 3 ? 0 : indexCount - 2;
    case PrimitiveType::line:
        return indexCount / 2;
    case PrimitiveType::point:
        return indexCount;
    }
    return 0;
}

std::size_t indexCountFor(PrimitiveType type, std::size_t primitiveCount) {
    switch (type) {
    case PrimitiveType::triangles:
        return primitiveCount * 3;
    case PrimitiveType::triangleStrip:
        return primitiveCount == 0 ? 0 : primitiveCount + 2;
    case PrimitiveType::line:
        return primitiveCount * 2;
    case PrimitiveType::point:
        return primitiveCount;
    }
    return 0;
}

GeometryElement::GeometryElement(Bytes bytes, PrimitiveType type, std::size_t primitiveCount,
                                 int bytesPerIndex, std::size_t dataOffset)
    : bytes_(std::move(bytes)), primitiveType_(type), primitiveCount_(primitiveCount),
      bytesPerIndex_(bytesPerIndex), dataOffset_(dataOffset) {}

std::shared_ptr<GeometryElement> GeometryElement::create(Bytes bytes, PrimitiveType type,
                                                         std::size_t primitiveCount,
                                                         int bytesPerIndex,
                                                         std::size_t dataOffset) {
    if (!detail::isValidIntegerSize(bytesPerIndex)) {
        throw std::invalid_argument("geometry element: " + std::to_string(bytesPerIndex) +
                                    "-byte indices are not supported");
    }
    // Guards the multiplication in indexCountFor as well as the read range.
    const std::size_t available = bytes ? bytes->size() : 0;
    const auto indexSize = static_cast<std::size_t>(bytesPerIndex);
    const bool countIsSane = primitiveCount <= available;
    const std::size_t indexCount = countIsSane ? indexCountFor(type, primitiveCount) : 0;
    if (!countIsSane ||
        !detail::stridedItemsFit(dataOffset, indexCount, indexSize, indexSize, available)) {
        throw std::invalid_argument("geometry element: " + std::to_string(primitiveCount) + " " +
                                    std::string(primitiveTypeName(type)) + " primitives of " +
                                    std::to_string(bytesPerIndex) + "-byte indices at offset " +
                                    std::to_string(dataOffset) + " need more than its " +
                                    std::to_string(available) + " bytes");
    }
    if (!bytes) {
        bytes = makeBytes({});
    }
    return std::shared_ptr<GeometryElement>(
        new GeometryElement(std::move(bytes), type, primitiveCount, bytesPerIndex, dataOffset));
}

std::uint64_t GeometryElement::index(std::size_t position) const {
    const auto indexSize = static_cast<std::size_t>(bytesPerIndex_);
    return detail::readUnsigned(bytes_->data() + dataOffset_ + position * indexSize,
                                bytesPerIndex_);
}

} // namespace scene
