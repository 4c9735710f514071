#pragma once

#include <SceneGraph/Bytes.h>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <type_traits>
#include <vector>

namespace scene {

enum class PrimitiveType {
    triangles,
    triangleStrip,
    line,
    point,
};

/// "triangles", "triangleStrip", "line", "point".
std::string_view primitiveTypeName(PrimitiveType type);

/// How many primitives `indexCount` indices make: triangles n / 3, strips n − 2 (0 below 3),
/// lines n / 2, points n.
std::size_t primitiveCountFor(PrimitiveType type, std::size_t indexCount);

/// How many indices `primitiveCount` primitives use (the inverse of `primitiveCountFor`).
std::size_t indexCountFor(PrimitiveType type, std::size_t primitiveCount);

/// The indices of one drawing call, read from a shared byte block without copying.
/// Indices are little-endian unsigned integers of 1, 2, 4 or 8 bytes.
class GeometryElement {
  public:
    /// Fails with std::invalid_argument for an index size other than 1, 2, 4 or 8, or when
    /// the indices the primitives need reach past the end of `bytes`.
    static std::shared_ptr<GeometryElement> create(Bytes bytes, PrimitiveType type,
                                                   std::size_t primitiveCount, int bytesPerIndex,
                                                   std::size_t dataOffset = 0);

    /// A new block holding `indices`; the primitive count follows from their number.
    template <class Index>
    static std::shared_ptr<GeometryElement> fromIndices(std::span<const Index> indices,
                                                        PrimitiveType type);

    const Bytes& data() const { return bytes_; }
    std::size_t dataOffset() const { return dataOffset_; }
    PrimitiveType primitiveType() const { return primitiveType_; }
    std::size_t primitiveCount() const { return primitiveCount_; }
    int bytesPerIndex() const { return bytesPerIndex_; }

    /// The number of indices the primitives use.
    std::size_t indexCount() const { return indexCountFor(primitiveType_, primitiveCount_); }

    /// Index number `position` (must be below `indexCount()`).
    std::uint64_t index(std::size_t position) const;

  private:
    GeometryElement(Bytes bytes, PrimitiveType type, std::size_t primitiveCount, int bytesPerIndex,
                    std::size_t dataOffset);

    Bytes bytes_;
    PrimitiveType primitiveType_;
    std::size_t primitiveCount_;
    int bytesPerIndex_;
    std::size_t dataOffset_;
};

template <class Index>
std::shared_ptr<GeometryElement> GeometryElement::fromIndices(std::span<const Index> indices,
                                                              PrimitiveType type) {
    static_assert(std::is_unsigned_v<Index> && (sizeof(Index) == 1 || sizeof(Index) == 2 ||
                                                sizeof(Index) == 4 || sizeof(Index) == 8));
    const auto* first = reinterpret_cast<const std::uint8_t*>(indices.data());
    auto bytes = makeBytes(std::vector<std::uint8_t>(first, first + indices.size_bytes()));
    return create(std::move(bytes), type, primitiveCountFor(type, indices.size()),
                  static_cast<int>(sizeof(Index)));
}

} // namespace scene
