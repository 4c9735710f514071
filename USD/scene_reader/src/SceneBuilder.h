#pragma once

#include "MaterialResolver.h"
#include "Stage.h"

#include <SceneGraph/Scene.h>
#include <USD/scene_reader/SceneReader.h>
#include <memory>

namespace usd::reader {

// The scene a composed stage shows, in Y-up metres: one node per drawable or transforming
// prim, with meshes, cameras and materials. Mesh data the layers hold as it is drawn is viewed,
// not copied, and `layerKeeper` is kept with it.
std::shared_ptr<scene::Scene> buildScene(const Stage& stage, MaterialResolver& materials,
                                         const std::shared_ptr<const void>& layerKeeper,
                                         SceneReadNotes& notes);

} // namespace usd::reader
