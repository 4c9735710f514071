#include "GridGlb.h"

#include <BenchSupport/RawFileIo.h>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace bench {
namespace {

constexpr std::uint32_t kGlbMagic = 0x46546C67;
constexpr std::uint32_t kJsonChunk = 0x4E4F534A;
constexpr std::uint32_t kBinChunk = 0x004E4942;
constexpr float kWaveHeight = 0.02f;
constexpr float kWaveCycles = 8.0f;

using Vec3 = GridVec3;

float heightAt(float x, float z) {
    return kWaveHeight * std::sin(kWaveCycles * x) * std::cos(kWaveCycles * z);
}

Vec3 normalAt(float x, float z) {
    const float dx =
        kWaveHeight * kWaveCycles * std::cos(kWaveCycles * x) * std::cos(kWaveCycles * z);
    const float dz =
        -kWaveHeight * kWaveCycles * std::sin(kWaveCycles * x) * std::sin(kWaveCycles * z);
    const float length = std::sqrt(dx * dx + 1 + dz * dz);
    return {-dx / length, 1 / length, -dz / length};
}

// The binary chunk is assembled in one vector; each section starts 4-byte aligned because every
// element size is a multiple of 4.
class BinaryChunk {
  public:
    template <class T> std::size_t append(const std::vector<T>& values) {
        const std::size_t offset = bytes_.size();
        bytes_.resize(offset + values.size() * sizeof(T));
        std::memcpy(bytes_.data() + offset, values.data(), values.size() * sizeof(T));
        views_ += std::string(views_.empty() ? "" : ",") +
                  "{\"buffer\":0,\"byteOffset\":" + std::to_string(offset) +
                  ",\"byteLength\":" + std::to_string(values.size() * sizeof(T)) + "}";
        return viewCount_++;
    }
    const std::vector<char>& bytes() const { return bytes_; }
    const std::string& viewsJson() const { return views_; }

  private:
    std::vector<char> bytes_;
    std::string views_;
    std::size_t viewCount_ = 0;
};

} // namespace

GridArrays gridArrays(const GridShape& shape) {
    const std::uint32_t side = shape.quadsPerSide + 1;
    GridArrays grid;
    grid.positions.reserve(shape.vertexCount());
    grid.uvs.reserve(shape.vertexCount());
    for (std::uint32_t row = 0; row < side; ++row) {
        for (std::uint32_t column = 0; column < side; ++column) {
            const float x = static_cast<float>(column) / static_cast<float>(shape.quadsPerSide);
            const float z = static_cast<float>(row) / static_cast<float>(shape.quadsPerSide);
            grid.positions.push_back({x, heightAt(x, z), z});
            grid.uvs.push_back({x, z});
            if (shape.withNormals) {
                grid.normals.push_back(normalAt(x, z));
            }
        }
    }
    grid.indices.reserve(shape.triangleCount() * 3);
    for (std::uint32_t row = 0; row < shape.quadsPerSide; ++row) {
        for (std::uint32_t column = 0; column < shape.quadsPerSide; ++column) {
            const std::uint32_t corner = row * side + column;
            grid.indices.insert(grid.indices.end(), {corner, corner + side, corner + 1, corner + 1,
                                                     corner + side, corner + side + 1});
        }
    }
    return grid;
}

namespace {

std::string accessorJson(std::size_t view, int componentType, std::size_t count, const char* type,
                         const std::string& bounds = {}) {
    return "{\"bufferView\":" + std::to_string(view) +
           ",\"componentType\":" + std::to_string(componentType) +
           ",\"count\":" + std::to_string(count) + ",\"type\":\"" + type + "\"" + bounds + "}";
}

std::string positionBounds() {
    return ",\"min\":[0," + std::to_string(-kWaveHeight) + ",0],\"max\":[1," +
           std::to_string(kWaveHeight) + ",1]";
}

std::string documentJson(const GridShape& shape, const BinaryChunk& chunk) {
    constexpr int kFloat = 5126;
    constexpr int kUnsignedInt = 5125;
    const std::size_t vertices = shape.vertexCount();
    std::string accessors = accessorJson(0, kFloat, vertices, "VEC3", positionBounds());
    std::string attributes = "\"POSITION\":0";
    std::size_t view = 1;
    if (shape.withNormals) {
        attributes += ",\"NORMAL\":" + std::to_string(view);
        accessors += "," + accessorJson(view++, kFloat, vertices, "VEC3");
    }
    attributes += ",\"TEXCOORD_0\":" + std::to_string(view);
    accessors += "," + accessorJson(view++, kFloat, vertices, "VEC2");
    const std::size_t indices = view;
    accessors += "," + accessorJson(view, kUnsignedInt, shape.triangleCount() * 3, "SCALAR");
    return "{\"asset\":{\"version\":\"2.0\"},\"scene\":0,\"scenes\":[{\"nodes\":[0]}],"
           "\"nodes\":[{\"mesh\":0}],\"meshes\":[{\"primitives\":[{\"attributes\":{" +
           attributes + "},\"indices\":" + std::to_string(indices) + "}]}],\"accessors\":[" +
           accessors + "],\"bufferViews\":[" + chunk.viewsJson() +
           "],\"buffers\":[{\"byteLength\":" + std::to_string(chunk.bytes().size()) + "}]}";
}

BinaryChunk binaryChunk(const GridShape& shape) {
    const GridArrays grid = gridArrays(shape);
    BinaryChunk chunk;
    chunk.append(grid.positions);
    if (shape.withNormals) {
        chunk.append(grid.normals);
    }
    chunk.append(grid.uvs);
    chunk.append(grid.indices);
    return chunk;
}

void appendWord(std::vector<std::uint8_t>& out, std::uint32_t word) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&word);
    out.insert(out.end(), bytes, bytes + sizeof word);
}

void appendChunk(std::vector<std::uint8_t>& out, std::uint32_t type, const char* data,
                 std::size_t size) {
    appendWord(out, static_cast<std::uint32_t>(size));
    appendWord(out, type);
    out.insert(out.end(), data, data + size);
}

} // namespace

std::size_t GridShape::vertexCount() const {
    return static_cast<std::size_t>(quadsPerSide + 1) * (quadsPerSide + 1);
}

std::size_t GridShape::triangleCount() const {
    return 2 * static_cast<std::size_t>(quadsPerSide) * quadsPerSide;
}

void writeGlb(const std::filesystem::path& file, std::string json,
              const std::vector<std::uint8_t>& binaryChunk) {
    json.resize((json.size() + 3) / 4 * 4, ' ');
    const std::size_t binarySize = (binaryChunk.size() + 3) / 4 * 4;
    const std::size_t total = 12 + 8 + json.size() + 8 + binarySize;
    std::vector<std::uint8_t> glb;
    glb.reserve(total);
    appendWord(glb, kGlbMagic);
    appendWord(glb, 2);
    appendWord(glb, static_cast<std::uint32_t>(total));
    appendChunk(glb, kJsonChunk, json.data(), json.size());
    appendWord(glb, static_cast<std::uint32_t>(binarySize));
    appendWord(glb, kBinChunk);
    glb.insert(glb.end(), binaryChunk.begin(), binaryChunk.end());
    glb.resize(total, 0);
    writeFileBytes(file, glb);
}

void writeGridGlb(const std::filesystem::path& file, const GridShape& shape) {
    const BinaryChunk chunk = binaryChunk(shape);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(chunk.bytes().data());
    writeGlb(file, documentJson(shape, chunk),
             std::vector<std::uint8_t>(bytes, bytes + chunk.bytes().size()));
}

} // namespace bench
