// Arbitrary bytes as a .gltf or .glb file: the details never throw and stay within what the
// document can describe.

#include "GltfDetails.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto details =
        modelimporter::gltfDetailsOf(std::string(reinterpret_cast<const char*>(data), size));
    const auto& graph = details.nodeGraph;
    if (graph.deepestLevel > graph.nodeCount)
        std::abort(); // a chain cannot be longer than the nodes it is made of
    return 0;
}
