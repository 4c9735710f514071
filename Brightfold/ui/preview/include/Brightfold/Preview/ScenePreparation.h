#pragma once

#include <memory>

namespace scene {
class Scene;
}

namespace brightfold::preview {

/// Does now, on the calling thread, the slow part of showing `scene` in a TransparentSceneView
/// (decoding its textures, packing its vertex and index buffers), so that the next view given
/// this scene only creates the renderer's objects on the window's thread. Meant for the thread
/// that has just read the scene, before anything else uses it. Only the latest scene prepared
/// is kept; if preparing fails, the view does the work itself as it would without this.
void prepareForPreview(const std::shared_ptr<const scene::Scene>& scene) noexcept;

} // namespace brightfold::preview
