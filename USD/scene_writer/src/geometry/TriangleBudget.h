#pragma once

// A scene whose meshes fit a triangle limit, simplified to it.

#include "Notes.h"

#include <SceneGraph/Scene.h>
#include <cstdint>
#include <memory>

namespace usd::writer {

// A copy of the scene whose meshes hold at most `maxTriangles` triangles in all (a geometry
// drawn by several nodes counts each time), each brought down by the same share; null when the
// scene holds no more than that already. The scene itself is left as it is. What was reached
// is noted, and why when it stays above the limit.
std::shared_ptr<const scene::Scene> sceneWithinTriangles(const scene::Scene& scene,
                                                         std::uint64_t maxTriangles, Notes& notes);

} // namespace usd::writer
