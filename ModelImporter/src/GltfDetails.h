#pragma once

#include "NodeGraphShape.h"
#include "SteppedChannels.h"
#include "VertexEncodings.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace modelimporter {

// What Assimp reads from a glTF file but does not pass on, recovered from the file's JSON.
struct GltfDetails {
    // One entry per glTF primitive, matching Assimp's meshes one to one.
    std::vector<PrimitiveEncodings> encodings;
    SteppedChannels steppedChannels;
    NodeGraphShape nodeGraph;
    // What the accessors without a buffer view stand for.
    std::uint64_t madeAccessorBytes = 0;
};

// Empty details when the file is no .gltf or .glb document that can be parsed.
GltfDetails readGltfDetails(const std::filesystem::path& file);
// The same, of the file's bytes.
GltfDetails gltfDetailsOf(const std::string& fileBytes);

} // namespace modelimporter
