#pragma once

#include <GLTFReader/ByteSlice.h>
#include <optional>

namespace gltf {

struct ContainerContents {
    ByteSlice jsonText;
    // The binary chunk of a GLB file; absent for JSON text and for a GLB without one.
    std::optional<ByteSlice> binaryChunk;
};

// Splits the bytes of a .gltf or .glb file. Anything that does not start with the GLB magic is
// JSON text as a whole. Every header field and chunk is checked against the data's end.
ContainerContents splitContainer(const ByteSlice& data);

} // namespace gltf
