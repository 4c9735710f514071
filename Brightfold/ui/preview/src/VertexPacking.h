#pragma once

#include "VertexStreams.h"

#include <QByteArray>
#include <QList>
#include <QVector3D>
#include <QtQuick3D/QQuick3DGeometry>

namespace brightfold::preview {

/// Interleaved vertex data in the layout the renderer reads.
struct PackedVertices {
    QByteArray data;
    int stride = 0;
    QList<QQuick3DGeometry::Attribute> attributes;
    /// Of the finite positions; both zero when there are none.
    QVector3D boundsMin;
    QVector3D boundsMax;
};

/// Interleaves the non-empty streams. The renderer's tangent has three components, so a
/// tangent comes with the binormal cross(normal, tangent) · handedness; colours are supplied
/// only when the mesh has them, since a colour attribute always tints the surface.
PackedVertices packVertices(const VertexStreams& streams);

} // namespace brightfold::preview
