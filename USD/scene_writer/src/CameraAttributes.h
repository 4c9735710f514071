#pragma once

#include <SceneGraph/Camera.h>
#include <USD/layer/LayerBuilder.h>

namespace usd::writer {

// Authors a Camera prim's projection, apertures, focal length and clipping range.
void writeCameraAttributes(LayerBuilder& build, const Path& prim, const scene::Camera& camera);

} // namespace usd::writer
