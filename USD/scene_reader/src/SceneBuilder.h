#pragma once

#include "MaterialResolver.h"
#include "Stage.h"

#include <SceneGraph/Scene.h>
#include <USD/USDZReader.h>
#include <memory>

namespace usd::reader {

// The scene a composed stage shows, in Y-up metres: one node per drawable or transforming
// prim, with meshes, cameras and materials.
std::shared_ptr<scene::Scene> buildScene(const Stage& stage, MaterialResolver& materials,
                                         SceneReadWarnings& warnings);

} // namespace usd::reader
