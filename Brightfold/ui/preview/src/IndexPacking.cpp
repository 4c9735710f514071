#include "IndexPacking.h"

#include <SceneGraph/Geometry.h>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>

namespace brightfold::preview {
namespace {

using QtPrimitive = QQuick3DGeometry::PrimitiveType;

QtPrimitive qtPrimitiveOf(scene::PrimitiveType type) {
    switch (type) {
    case scene::PrimitiveType::triangleStrip:
        return QtPrimitive::TriangleStrip;
    case scene::PrimitiveType::line:
        return QtPrimitive::Lines;
    case scene::PrimitiveType::point:
        return QtPrimitive::Points;
    case scene::PrimitiveType::triangles:
        break;
    }
    return QtPrimitive::Triangles;
}

struct ElementIndices {
    std::size_t elementIndex;
    std::vector<std::uint32_t> indices;
};

// Reads every index with `indexAt`; false when one reaches past the vertices.
template <class IndexAt>
bool readIndices(std::size_t count, std::size_t vertexCount, IndexAt indexAt,
                 std::vector<std::uint32_t>& into) {
    into.resize(count);
    std::uint64_t largest = 0;
    for (std::size_t position = 0; position < count; ++position) {
        const std::uint64_t index = indexAt(position);
        largest = std::max(largest, index);
        into[position] = static_cast<std::uint32_t>(index);
    }
    return count == 0 || largest < vertexCount;
}

// Indices of the sizes the renderer takes are copied straight from the element's bytes.
template <class Index>
bool copyIndices(const scene::GeometryElement& element, std::size_t vertexCount,
                 std::vector<std::uint32_t>& into) {
    const std::uint8_t* from = element.data()->data() + element.dataOffset();
    return readIndices(
        element.indexCount(), vertexCount,
        [from](std::size_t position) {
            Index index;
            std::memcpy(&index, from + position * sizeof(Index), sizeof(Index));
            return std::uint64_t{index};
        },
        into);
}

// Null when an index reaches past the vertices.
std::optional<ElementIndices> readElement(const scene::GeometryElement& element,
                                          std::size_t elementIndex, std::size_t vertexCount) {
    ElementIndices read{elementIndex, {}};
    bool inside = false;
    // Elements are little-endian, like the processors the copying is for.
    const int copiedSize = std::endian::native == std::endian::little ? element.bytesPerIndex() : 0;
    switch (copiedSize) {
    case 2:
        inside = copyIndices<std::uint16_t>(element, vertexCount, read.indices);
        break;
    case 4:
        inside = copyIndices<std::uint32_t>(element, vertexCount, read.indices);
        break;
    default:
        inside = readIndices(
            element.indexCount(), vertexCount,
            [&element](std::size_t position) { return element.index(position); }, read.indices);
    }
    if (!inside) {
        return std::nullopt;
    }
    return read;
}

template <class Index> QByteArray narrowed(const std::vector<std::uint32_t>& indices) {
    QByteArray bytes(static_cast<qsizetype>(indices.size() * sizeof(Index)), Qt::Uninitialized);
    auto* destination = reinterpret_cast<Index*>(bytes.data());
    std::transform(indices.begin(), indices.end(), destination,
                   [](std::uint32_t index) { return static_cast<Index>(index); });
    return bytes;
}

PackedIndices packGroup(QtPrimitive type, const std::vector<ElementIndices>& elements) {
    PackedIndices packed;
    packed.primitiveType = type;
    std::vector<std::uint32_t> all;
    for (const ElementIndices& element : elements) {
        packed.subsets.push_back({static_cast<int>(all.size()),
                                  static_cast<int>(element.indices.size()), element.elementIndex});
        all.insert(all.end(), element.indices.begin(), element.indices.end());
    }
    const bool wide = std::any_of(all.begin(), all.end(), [](std::uint32_t index) {
        return index > std::numeric_limits<std::uint16_t>::max();
    });
    packed.componentType =
        wide ? QQuick3DGeometry::Attribute::U32Type : QQuick3DGeometry::Attribute::U16Type;
    packed.data = wide ? narrowed<std::uint32_t>(all) : narrowed<std::uint16_t>(all);
    return packed;
}

} // namespace

std::vector<PackedIndices> packIndices(const scene::Geometry& geometry, std::size_t vertexCount,
                                       QStringList& problems) {
    std::vector<std::pair<QtPrimitive, std::vector<ElementIndices>>> groups;
    const auto& elements = geometry.elements();
    for (std::size_t elementIndex = 0; elementIndex < elements.size(); ++elementIndex) {
        std::optional<ElementIndices> read =
            readElement(*elements[elementIndex], elementIndex, vertexCount);
        if (!read) {
            problems << QStringLiteral("Part %1 of a mesh refers to vertices it does not have "
                                       "and was left out.")
                            .arg(elementIndex + 1);
            continue;
        }
        const QtPrimitive type = qtPrimitiveOf(elements[elementIndex]->primitiveType());
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [type](const auto& entry) { return entry.first == type; });
        if (group == groups.end()) {
            group = groups.insert(groups.end(), {type, {}});
        }
        group->second.push_back(std::move(*read));
    }
    std::vector<PackedIndices> packed;
    for (const auto& [type, groupElements] : groups) {
        packed.push_back(packGroup(type, groupElements));
    }
    return packed;
}

} // namespace brightfold::preview
