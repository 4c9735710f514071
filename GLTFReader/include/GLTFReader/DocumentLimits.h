#pragma once

// Bounds the reader keeps on what a document may ask of it; the fallback importer keeps the
// same ones, so a file refused here is not let through there.

#include <cstddef>

namespace gltf {

// Each level of nodes is a few nested calls in the reader, and later in every pass over the
// scene: a hierarchy deeper than any real model would overflow the stack of a conversion thread.
inline constexpr int kMaxNodeNesting = 1000;

// Data that no file holds is made by the reader (zeros of accessors without a buffer view,
// sparse accessors' copies); counts written into a few bytes of JSON must not make it fill the
// memory, whether in one accessor or spread over many.
inline constexpr std::size_t kMaxMadeAccessorBytes = std::size_t{1} << 30;

} // namespace gltf
