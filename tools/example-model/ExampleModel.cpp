#include "ExampleModel.h"

#include <array>
#include <cstring>
#include <stb_image_write.h>
#include <string>

namespace brightfold::example {
namespace {

struct Vertex {
    std::array<float, 3> position;
    std::array<float, 3> normal;
    std::array<float, 2> uv;
};

// Four corners per face so every face has its own normal and a full texture square.
std::vector<Vertex> boxVertices(std::array<float, 3> half) {
    std::vector<Vertex> vertices;
    for (int axis = 0; axis < 3; ++axis) {
        for (const float side : {1.0f, -1.0f}) {
            const int u = (axis + 1) % 3;
            const int v = (axis + 2) % 3;
            for (const auto& [su, sv] : {std::array{-1.0f, -1.0f}, std::array{1.0f, -1.0f},
                                         std::array{1.0f, 1.0f}, std::array{-1.0f, 1.0f}}) {
                Vertex vertex{};
                vertex.position[axis] = side * half[axis];
                vertex.position[u] = su * side * half[u];
                vertex.position[v] = sv * half[v];
                vertex.normal[axis] = side;
                vertex.uv = {(su + 1) / 2, 1 - (sv + 1) / 2};
                vertices.push_back(vertex);
            }
        }
    }
    return vertices;
}

std::vector<std::uint16_t> boxIndices() {
    std::vector<std::uint16_t> indices;
    for (std::uint16_t face = 0; face < 6; ++face) {
        const std::uint16_t first = face * 4;
        for (const std::uint16_t corner : {0, 1, 2, 0, 2, 3}) {
            indices.push_back(static_cast<std::uint16_t>(first + corner));
        }
    }
    return indices;
}

std::vector<std::uint8_t> checkerPNG() {
    constexpr int size = 64;
    std::vector<std::uint8_t> pixels(size * size * 3);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool light = ((x / 8) + (y / 8)) % 2 == 0;
            const std::array<std::uint8_t, 3> colour =
                light ? std::array<std::uint8_t, 3>{250, 204, 90}
                      : std::array<std::uint8_t, 3>{44, 120, 200};
            std::memcpy(&pixels[static_cast<std::size_t>((y * size + x) * 3)], colour.data(), 3);
        }
    }
    std::vector<std::uint8_t> png;
    stbi_write_png_to_func(
        [](void* context, void* data, int length) {
            auto* bytes = static_cast<std::uint8_t*>(data);
            static_cast<std::vector<std::uint8_t>*>(context)->insert(
                static_cast<std::vector<std::uint8_t>*>(context)->end(), bytes, bytes + length);
        },
        &png, size, size, 3, pixels.data(), size * 3);
    return png;
}

// Appends `bytes` to the binary chunk on a 4-byte boundary; returns where they start.
std::size_t append(std::vector<std::uint8_t>& bin, const void* bytes, std::size_t length) {
    bin.resize((bin.size() + 3) & ~std::size_t{3});
    const std::size_t offset = bin.size();
    bin.insert(bin.end(), static_cast<const std::uint8_t*>(bytes),
               static_cast<const std::uint8_t*>(bytes) + length);
    return offset;
}

void appendWord(std::vector<std::uint8_t>& out, std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(word >> shift));
    }
}

void appendChunk(std::vector<std::uint8_t>& glb, std::uint32_t type, std::vector<std::uint8_t> data,
                 std::uint8_t padding) {
    data.resize((data.size() + 3) & ~std::size_t{3}, padding);
    appendWord(glb, static_cast<std::uint32_t>(data.size()));
    appendWord(glb, type);
    glb.insert(glb.end(), data.begin(), data.end());
}

std::string bufferViewsAndAccessors(std::size_t cubeOffset, std::size_t slabOffset,
                                    std::size_t indexOffset, std::size_t pngOffset,
                                    std::size_t pngLength) {
    const std::size_t vertexBytes = 24 * sizeof(Vertex);
    const auto view = [](std::size_t offset, std::size_t length, const std::string& extra) {
        return "{\"buffer\":0,\"byteOffset\":" + std::to_string(offset) +
               ",\"byteLength\":" + std::to_string(length) + extra + "}";
    };
    const std::string stride = ",\"byteStride\":32,\"target\":34962";
    const auto attribute = [](int bufferView, int offset, const char* type, bool bounds,
                              float half) {
        std::string text = "{\"bufferView\":" + std::to_string(bufferView) +
                           ",\"byteOffset\":" + std::to_string(offset) +
                           ",\"componentType\":5126,\"count\":24,\"type\":\"" + type + "\"";
        if (bounds) {
            const std::string h = std::to_string(half);
            text += ",\"min\":[-" + h + ",-" + h + ",-" + h + "],\"max\":[" + h + "," + h + "," +
                    h + "]";
        }
        return text + "}";
    };
    return "\"bufferViews\":[" + view(cubeOffset, vertexBytes, stride) + "," +
           view(slabOffset, vertexBytes, stride) + "," +
           view(indexOffset, 36 * 2, ",\"target\":34963") + "," + view(pngOffset, pngLength, "") +
           "],\"accessors\":[" + attribute(0, 0, "VEC3", true, 0.5f) + "," +
           attribute(0, 12, "VEC3", false, 0) + "," + attribute(0, 24, "VEC2", false, 0) + "," +
           attribute(1, 0, "VEC3", true, 1.5f) + "," + attribute(1, 12, "VEC3", false, 0) + "," +
           attribute(1, 24, "VEC2", false, 0) + "," +
           "{\"bufferView\":2,\"componentType\":5123,\"count\":36,\"type\":\"SCALAR\"}]";
}

const char* const sceneJSON =
    R"("asset":{"version":"2.0","generator":"Brightfold example-model"},"scene":0,)"
    R"("scenes":[{"name":"Example","nodes":[0,1]}],)"
    R"("nodes":[{"name":"Cube","mesh":0,"translation":[0,0.5,0],)"
    R"("rotation":[0,0.3826834,0,0.9238795]},{"name":"Slab","mesh":1,"scale":[1,0.0333,1],)"
    R"("translation":[0,-0.05,0]}],)"
    R"("meshes":[{"name":"CubeMesh","primitives":[{"attributes":{"POSITION":0,"NORMAL":1,)"
    R"("TEXCOORD_0":2},"indices":6,"material":0}]},{"name":"SlabMesh","primitives":[{)"
    R"("attributes":{"POSITION":3,"NORMAL":4,"TEXCOORD_0":5},"indices":6,"material":1}]}],)"
    R"("materials":[{"name":"Checker","pbrMetallicRoughness":{"baseColorTexture":{"index":0},)"
    R"("metallicFactor":0,"roughnessFactor":0.6}},{"name":"Stone","pbrMetallicRoughness":{)"
    R"("baseColorFactor":[0.55,0.57,0.6,1],"metallicFactor":0,"roughnessFactor":0.9}}],)"
    R"("textures":[{"source":0,"sampler":0}],"samplers":[{"magFilter":9729,"minFilter":9987}],)"
    R"("images":[{"name":"checker","bufferView":3,"mimeType":"image/png"}],)";

} // namespace

std::vector<std::uint8_t> makeExampleGLB() {
    const std::vector<Vertex> cube = boxVertices({0.5f, 0.5f, 0.5f});
    const std::vector<Vertex> slab = boxVertices({1.5f, 1.5f, 1.5f});
    const std::vector<std::uint16_t> indices = boxIndices();
    const std::vector<std::uint8_t> png = checkerPNG();

    std::vector<std::uint8_t> bin;
    const std::size_t cubeOffset = append(bin, cube.data(), cube.size() * sizeof(Vertex));
    const std::size_t slabOffset = append(bin, slab.data(), slab.size() * sizeof(Vertex));
    const std::size_t indexOffset = append(bin, indices.data(), indices.size() * 2);
    const std::size_t pngOffset = append(bin, png.data(), png.size());
    bin.resize((bin.size() + 3) & ~std::size_t{3});

    const std::string json =
        std::string("{") + sceneJSON +
        bufferViewsAndAccessors(cubeOffset, slabOffset, indexOffset, pngOffset, png.size()) +
        ",\"buffers\":[{\"byteLength\":" + std::to_string(bin.size()) + "}]}";

    std::vector<std::uint8_t> chunks;
    appendChunk(chunks, 0x4E4F534A, {json.begin(), json.end()}, ' ');
    appendChunk(chunks, 0x004E4942, std::move(bin), 0);
    std::vector<std::uint8_t> glb;
    appendWord(glb, 0x46546C67);
    appendWord(glb, 2);
    appendWord(glb, static_cast<std::uint32_t>(12 + chunks.size()));
    glb.insert(glb.end(), chunks.begin(), chunks.end());
    return glb;
}

} // namespace brightfold::example
