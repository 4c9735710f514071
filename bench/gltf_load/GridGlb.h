#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

// A square grid of quadsPerSide² quads, two triangles each, over a gently waving height field so
// that computed normals differ from vertex to vertex.
struct GridShape {
    std::uint32_t quadsPerSide = 0;
    bool withNormals = true;

    std::size_t vertexCount() const;
    std::size_t triangleCount() const;
};

struct GridVec3 {
    float x, y, z;
};

struct GridVec2 {
    float u, v;
};

// The grid's vertices (normals only when the shape has them) and its triangles' corners.
struct GridArrays {
    std::vector<GridVec3> positions;
    std::vector<GridVec3> normals;
    std::vector<GridVec2> uvs;
    std::vector<std::uint32_t> indices;
};

GridArrays gridArrays(const GridShape& shape);

// A binary glTF of a JSON document and a binary chunk (padded here as the container needs).
void writeGlb(const std::filesystem::path& file, std::string json,
              const std::vector<std::uint8_t>& binaryChunk);

// Writes the grid as a binary glTF (.glb) with one mesh: positions, optional normals, texture
// coordinates and 32-bit indices, all in the file's own binary chunk.
void writeGridGlb(const std::filesystem::path& file, const GridShape& shape);

} // namespace bench
