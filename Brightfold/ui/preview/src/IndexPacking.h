#pragma once

#include <QByteArray>
#include <QStringList>
#include <QtQuick3D/QQuick3DGeometry>
#include <vector>

namespace scene {
class Geometry;
}

namespace brightfold::preview {

/// A run of indices drawn with one material.
struct IndexSubset {
    int offset = 0;
    int count = 0;
    /// The scene element the run came from (chooses its material).
    std::size_t elementIndex = 0;
};

/// The indices of every element of one primitive type, one after another, 16-bit when every
/// index fits and 32-bit otherwise.
struct PackedIndices {
    QQuick3DGeometry::PrimitiveType primitiveType = QQuick3DGeometry::PrimitiveType::Triangles;
    QQuick3DGeometry::Attribute::ComponentType componentType = QQuick3DGeometry::Attribute::U16Type;
    QByteArray data;
    std::vector<IndexSubset> subsets;
};

/// Groups the elements of `geometry` by primitive type, in order of first appearance. An
/// element with an index at or past `vertexCount` would make the renderer read outside the
/// vertex data: it is left out and described in `problems`.
std::vector<PackedIndices> packIndices(const scene::Geometry& geometry, std::size_t vertexCount,
                                       QStringList& problems);

} // namespace brightfold::preview
