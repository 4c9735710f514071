#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

// Bounds that keep hostile or looping files from exhausting the stack or the memory.
namespace usd::reader {

// Sublayers of sublayers …
inline constexpr int kMaxLayerNesting = 32;
// Prims on the composed stage, and specs one prim composes.
inline constexpr std::size_t kMaxComposedPrims = 2'000'000;
inline constexpr std::size_t kMaxSourcesPerPrim = 4096;
// Prims below one another on the composed stage: room for the thousand levels of nodes a
// model we convert may have, and the prims its package puts around and below them.
inline constexpr int kMaxPrimDepth = 1100;
// Triangle corners, points, faces and face corners of one mesh: they are counted in 32 bits.
inline constexpr std::size_t kMaxMeshCorners = std::numeric_limits<std::uint32_t>::max();
// Offsets all morph targets of one mesh hold together: each target spreads over every vertex,
// so a few bytes naming many shapes of a big mesh would otherwise ask for gigabytes.
inline constexpr std::size_t kMaxMorphTargetVertices = std::size_t{1} << 25;
// Connections followed from a material output to the shader that produces it.
inline constexpr int kMaxConnectionHops = 16;

} // namespace usd::reader
