#pragma once

class QQuick3DObject;

namespace scene {
struct Light;
}

namespace brightfold::preview {

class QuickObjectFactory;

/// Shows a scene light as a Qt Quick 3D light below `parent`, the renderer node of the light's
/// node; both shine down the node's −Z axis.
///
/// A directional light of 1 lux has brightness 1, the level of the preview's own key light. A
/// point or spot light of 1 candela lights a surface 1 unit away as brightly, and falls off
/// with the square of the distance. The renderer's cone angles run from edge to edge, twice
/// the scene's.
void addPreviewLight(const scene::Light& light, QuickObjectFactory& factory,
                     QQuick3DObject& parent);

} // namespace brightfold::preview
