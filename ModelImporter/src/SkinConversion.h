#pragma once

#include "ImportNotes.h"

#include <SceneGraph/Node.h>
#include <assimp/mesh.h>
#include <functional>
#include <memory>
#include <string>

namespace scene {
class Geometry;
class Skinner;
} // namespace scene

namespace modelimporter {

using NodeFinder = std::function<std::shared_ptr<scene::Node>(const std::string& name)>;

// Binds the geometry to the mesh's bones, in the mesh's bone order, with each bone's offset
// matrix as its inverse bind transform and up to four influences per vertex: the strongest
// four, renormalised, with a note saying how many vertices lost weaker ones. A vertex no bone
// influences keeps all-zero weights, as a glTF file states it. Null when the mesh has no
// bones. Throws ImportError when a bone names no node of the scene.
std::shared_ptr<scene::Skinner> convertSkin(const aiMesh& mesh,
                                            const std::shared_ptr<scene::Geometry>& geometry,
                                            const NodeFinder& findNode, ImportNotes& notes);

} // namespace modelimporter
