#pragma once

#include "ComposedPrim.h"

#include <SceneGraph/Camera.h>
#include <memory>

namespace usd::reader {

// A Camera prim's projection; apertures and focal length only matter as ratios.
std::shared_ptr<scene::Camera> buildCamera(const ComposedPrim& prim);

} // namespace usd::reader
