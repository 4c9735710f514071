#pragma once

#include "VertexEncodings.h"

#include <assimp/vector3.h>
#include <glm/glm.hpp>
#include <optional>
#include <span>
#include <vector>

namespace modelimporter {

// Assimp 5.2 does not convert integer-stored glTF attributes (quantised positions and
// normals, normalised texture coordinates): it copies each element's bytes into the start of
// a zeroed float vector, and then flips texture coordinates' v as if it were a float. This
// reads such vectors back as glTF defines them: normalised types to [0, 1] or [-1, 1],
// others as plain numbers. Empty when the vectors do not look like copied bytes (an importer
// that converts them), so they can be used as they are.
std::optional<std::vector<glm::vec4>> decodeCopiedBytes(std::span<const aiVector3D> vectors,
                                                        const IntegerEncoding& encoding,
                                                        bool vWasFlipped);

} // namespace modelimporter
