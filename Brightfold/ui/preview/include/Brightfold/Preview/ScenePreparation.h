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

/// Starts decoding, on a thread of its own, the material images of `source`, a scene about to
/// be converted: images that the package keeps byte for byte are then found decoded when it is
/// read back and prepared, instead of being decoded after the conversion. Only the latest
/// source's images are kept; the next preparation takes them.
void decodeImagesAhead(const std::shared_ptr<const scene::Scene>& source) noexcept;

} // namespace brightfold::preview
