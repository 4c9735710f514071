#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace gltf::extensions {

// The number of faces a Draco mesh states ahead of its data. The library sets memory aside for
// them before it decodes anything they count (its connectivity decoder several words per
// corner), so a few hundred bytes claiming a hundred million faces would cost gigabytes.
struct DracoMeshCounts {
    std::uint64_t faces = 0;
    // The most faces that data of this size can code. Sequential data stores at least three
    // bytes a face. Edgebreaker's standard traversal codes a symbol of at least one bit for every
    // face but the first of each part, which at most adds a third. Its entropy-coded
    // traversals have no such floor: for them, 1024 faces a byte, 25 times what a flat regular
    // grid of two million triangles compresses to at the densest settings.
    std::uint64_t mostFacesInData = 0;
};

// The counts of a Draco mesh's data, or nothing when its header cannot be read that far or
// belongs to no mesh (the library then says what is wrong).
std::optional<DracoMeshCounts> dracoMeshCounts(std::span<const std::uint8_t> data);

} // namespace gltf::extensions
