#pragma once

#include <assimp/camera.h>
#include <memory>

namespace scene {
struct Camera;
} // namespace scene

namespace modelimporter {

// A perspective or orthographic camera with its vertical field of view (degrees), clipping
// planes and, for orthographic ones, the half visible height.
std::shared_ptr<scene::Camera> convertCamera(const aiCamera& camera);

} // namespace modelimporter
