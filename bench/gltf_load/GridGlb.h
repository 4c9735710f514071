#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace bench {

// A square grid of quadsPerSide² quads, two triangles each, over a gently waving height field so
// that computed normals differ from vertex to vertex.
struct GridShape {
    std::uint32_t quadsPerSide = 0;
    bool withNormals = true;

    std::size_t vertexCount() const;
    std::size_t triangleCount() const;
};

// Writes the grid as a binary glTF (.glb) with one mesh: positions, optional normals, texture
// coordinates and 32-bit indices, all in the file's own binary chunk.
void writeGridGlb(const std::filesystem::path& file, const GridShape& shape);

} // namespace bench
