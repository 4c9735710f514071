#pragma once

#include "VertexEncodings.h"

#include <assimp/mesh.h>
#include <memory>

namespace scene {
class Geometry;
} // namespace scene

namespace modelimporter {

// The mesh's vertex attributes (positions, normals, texture coordinates, the first colour set)
// and its faces, one element per primitive kind. `encodings` says which attributes the file
// stores as integers. Throws ImportError when the positions are not all finite numbers,
// which is how undecodable vertex data shows.
std::shared_ptr<scene::Geometry> convertMesh(const aiMesh& mesh,
                                             const PrimitiveEncodings& encodings);

} // namespace modelimporter
