#include "PreviewGeometry.h"

namespace brightfold::preview {

PreviewGeometry::PreviewGeometry(QQuick3DObject* parent) : QQuick3DGeometry(parent) {}

void PreviewGeometry::setContents(const PackedVertices& vertices, const PackedIndices& indices) {
    clear();
    setPrimitiveType(indices.primitiveType);
    setStride(vertices.stride);
    for (const Attribute& attribute : vertices.attributes) {
        addAttribute(attribute);
    }
    addAttribute(Attribute::IndexSemantic, 0, indices.componentType);
    setIndexData(indices.data);
    for (const IndexSubset& subset : indices.subsets) {
        addSubset(subset.offset, subset.count, vertices.boundsMin, vertices.boundsMax);
    }
    replaceVertices(vertices);
}

void PreviewGeometry::replaceVertices(const PackedVertices& vertices) {
    setVertexData(vertices.data);
    setBounds(vertices.boundsMin, vertices.boundsMax);
    update();
}

} // namespace brightfold::preview
