#pragma once

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

// Binds the geometry to the mesh's bones with up to four influences per vertex (the
// strongest four, renormalised). Null when the mesh has no bones. Throws ImportError when a
// bone names no node of the scene.
std::shared_ptr<scene::Skinner> convertSkin(const aiMesh& mesh,
                                            const std::shared_ptr<scene::Geometry>& geometry,
                                            const NodeFinder& findNode);

} // namespace modelimporter
