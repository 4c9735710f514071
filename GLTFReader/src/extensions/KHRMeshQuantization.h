#pragma once

#include <GLTFReader/GLTFAccessor.h>
#include <SceneGraph/GeometrySource.h>
#include <memory>
#include <string>

namespace gltf::extensions {

// Positions, normals, tangents and texture coordinates stored as integers, as quantized
// meshes keep them: read into 32-bit floats, normalized integers mapped to [0, 1] (unsigned)
// or [-1, 1] (signed), others taken as whole numbers. Float sources and other semantics are
// returned as they are. An integer type the attribute cannot have (unsigned 32-bit anything,
// un-normalized normals …) or a vector of the wrong size is refused, naming the accessor.
std::shared_ptr<scene::GeometrySource> asFloatSource(std::shared_ptr<scene::GeometrySource> source,
                                                     const GLTFAccessor& accessor,
                                                     std::int64_t accessorIndex,
                                                     const std::string& operation);

} // namespace gltf::extensions
