#pragma once

#include "IndexPacking.h"
#include "VertexPacking.h"

#include <QtQuick3D/QQuick3DGeometry>

namespace brightfold::preview {

/// The renderer's copy of one mesh part: packed vertices and the indices of one primitive
/// type, one subset per scene element.
class PreviewGeometry : public QQuick3DGeometry {
    Q_OBJECT

  public:
    explicit PreviewGeometry(QQuick3DObject* parent = nullptr);

    void setContents(const PackedVertices& vertices, const PackedIndices& indices);
    /// New vertex data in the same layout (a morphed shape).
    void replaceVertices(const PackedVertices& vertices);
};

} // namespace brightfold::preview
