#pragma once

#include "GridGlb.h"

#include <filesystem>

namespace bench {

// The grid (with normals) as a binary glTF whose one primitive is Draco-compressed: positions
// quantized to 14 bits, normals to 10, texture coordinates to 12.
void writeDracoGridGlb(const std::filesystem::path& file, const GridShape& shape);

// The grid as a binary glTF whose buffer views are meshopt-compressed the way optimising
// packers write them: float positions and texture coordinates, 8-bit octahedral normals,
// triangle-coded indices, with an uncompressed fallback buffer that is never read.
void writeMeshoptGridGlb(const std::filesystem::path& file, const GridShape& shape);

} // namespace bench
