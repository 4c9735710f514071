#pragma once

#include "ImportNotes.h"

#include <assimp/mesh.h>
#include <memory>
#include <vector>

namespace scene {
class Geometry;
class Morpher;
} // namespace scene

namespace modelimporter {

// The mesh's morph targets as the glTF reader builds them: one geometry per target holding
// position offsets (and normal offsets when the target has normals) from the base mesh.
// Assimp stores whole shapes, so the base is subtracted. Empty, with a note, when a target's
// vertex count differs from the mesh's.
std::vector<std::shared_ptr<scene::Geometry>> convertMorphTargets(const aiMesh& mesh,
                                                                  ImportNotes& notes);

// A morpher of its own for one placement of the mesh, adding the targets to the base with the
// file's default weights. Null without targets.
std::shared_ptr<scene::Morpher>
morpherFor(const aiMesh& mesh, const std::vector<std::shared_ptr<scene::Geometry>>& targets);

} // namespace modelimporter
