#pragma once

#include <cstddef>

// Bounds that keep hostile or looping files from exhausting the stack or the memory.
namespace usd::reader {

// Sublayers of sublayers …
inline constexpr int kMaxLayerNesting = 32;
// Prims on the composed stage, and specs one prim composes.
inline constexpr std::size_t kMaxComposedPrims = 2'000'000;
inline constexpr std::size_t kMaxSourcesPerPrim = 4096;
// Prims below one another on the composed stage.
inline constexpr int kMaxPrimDepth = 256;
// Connections followed from a material output to the shader that produces it.
inline constexpr int kMaxConnectionHops = 16;

} // namespace usd::reader
