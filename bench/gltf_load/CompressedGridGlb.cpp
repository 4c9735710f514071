#include "CompressedGridGlb.h"

#include <draco/compression/encode.h>
#include <draco/mesh/mesh.h>
#include <meshoptimizer.h>
#include <stdexcept>
#include <string>

namespace bench {
namespace {

template <class Vector>
int addPointAttribute(draco::Mesh& mesh, draco::GeometryAttribute::Type type,
                      const std::vector<Vector>& values) {
    constexpr int components = sizeof(Vector) / sizeof(float);
    draco::GeometryAttribute attribute;
    attribute.Init(type, nullptr, components, draco::DT_FLOAT32, false, sizeof(Vector), 0);
    const int id = mesh.AddAttribute(attribute, true, static_cast<std::uint32_t>(values.size()));
    for (std::uint32_t value = 0; value < values.size(); ++value) {
        mesh.attribute(id)->SetAttributeValue(draco::AttributeValueIndex(value), &values[value]);
    }
    return id;
}

std::vector<std::uint8_t> dracoBytes(const GridArrays& grid, int& position, int& normal,
                                     int& texcoord) {
    draco::Mesh mesh;
    mesh.set_num_points(static_cast<std::uint32_t>(grid.positions.size()));
    position = addPointAttribute(mesh, draco::GeometryAttribute::POSITION, grid.positions);
    normal = addPointAttribute(mesh, draco::GeometryAttribute::NORMAL, grid.normals);
    texcoord = addPointAttribute(mesh, draco::GeometryAttribute::TEX_COORD, grid.uvs);
    for (std::size_t corner = 0; corner < grid.indices.size(); corner += 3) {
        mesh.AddFace({draco::PointIndex(grid.indices[corner]),
                      draco::PointIndex(grid.indices[corner + 1]),
                      draco::PointIndex(grid.indices[corner + 2])});
    }
    draco::Encoder encoder;
    encoder.SetAttributeQuantization(draco::GeometryAttribute::POSITION, 14);
    encoder.SetAttributeQuantization(draco::GeometryAttribute::NORMAL, 10);
    encoder.SetAttributeQuantization(draco::GeometryAttribute::TEX_COORD, 12);
    draco::EncoderBuffer buffer;
    if (!encoder.EncodeMeshToBuffer(mesh, &buffer).ok()) {
        throw std::runtime_error("the grid could not be Draco-compressed");
    }
    return {buffer.data(), buffer.data() + buffer.size()};
}

std::string accessor(const std::string& view, int componentType, std::size_t count,
                     const char* type, const char* extra = "") {
    return "{" + view + "\"componentType\":" + std::to_string(componentType) +
           ",\"count\":" + std::to_string(count) + ",\"type\":\"" + type + "\"" + extra + "}";
}

// Streams appended to one compressed buffer, each with the view that decodes it out of the
// fallback buffer's space.
class MeshoptStreams {
  public:
    void addVertices(const void* vertices, std::size_t count, std::size_t stride,
                     const char* filter) {
        std::vector<std::uint8_t> encoded(meshopt_encodeVertexBufferBound(count, stride));
        encoded.resize(
            meshopt_encodeVertexBuffer(encoded.data(), encoded.size(), vertices, count, stride));
        add(encoded, count, stride, "ATTRIBUTES", filter);
    }

    void addTriangles(const std::vector<std::uint32_t>& indices, std::size_t vertexCount) {
        std::vector<std::uint8_t> encoded(
            meshopt_encodeIndexBufferBound(indices.size(), vertexCount));
        encoded.resize(meshopt_encodeIndexBuffer(encoded.data(), encoded.size(), indices.data(),
                                                 indices.size()));
        add(encoded, indices.size(), 4, "TRIANGLES", "NONE");
    }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    const std::string& viewsJson() const { return views_; }
    std::size_t fallbackSize() const { return fallbackSize_; }

  private:
    void add(const std::vector<std::uint8_t>& encoded, std::size_t count, std::size_t stride,
             const char* mode, const char* filter) {
        const std::size_t offset = bytes_.size();
        bytes_.insert(bytes_.end(), encoded.begin(), encoded.end());
        bytes_.resize((bytes_.size() + 3) / 4 * 4, 0);
        const std::string strideText = std::to_string(stride);
        const bool attributes = std::string(mode) == "ATTRIBUTES";
        views_ += std::string(views_.empty() ? "" : ",") +
                  "{\"buffer\":1,\"byteOffset\":" + std::to_string(fallbackSize_) +
                  ",\"byteLength\":" + std::to_string(count * stride) +
                  (attributes ? ",\"byteStride\":" + strideText : "") +
                  ",\"extensions\":{\"EXT_meshopt_compression\":{\"buffer\":0,\"byteOffset\":" +
                  std::to_string(offset) + ",\"byteLength\":" + std::to_string(encoded.size()) +
                  ",\"byteStride\":" + strideText + ",\"count\":" + std::to_string(count) +
                  ",\"mode\":\"" + mode + "\",\"filter\":\"" + filter + "\"}}}";
        fallbackSize_ += count * stride;
    }

    std::vector<std::uint8_t> bytes_;
    std::string views_;
    std::size_t fallbackSize_ = 0;
};

std::vector<std::int8_t> octahedralNormals(const std::vector<GridVec3>& normals) {
    std::vector<float> padded;
    padded.reserve(normals.size() * 4);
    for (const GridVec3& normal : normals) {
        padded.insert(padded.end(), {normal.x, normal.y, normal.z, 0});
    }
    std::vector<std::int8_t> encoded(normals.size() * 4);
    meshopt_encodeFilterOct(encoded.data(), normals.size(), 4, 8, padded.data());
    return encoded;
}

const char* const kMeshDocumentStart =
    "{\"asset\":{\"version\":\"2.0\"},\"scene\":0,\"scenes\":[{\"nodes\":[0]}],"
    "\"nodes\":[{\"mesh\":0}],";

} // namespace

void writeDracoGridGlb(const std::filesystem::path& file, const GridShape& shape) {
    const GridArrays grid = gridArrays({.quadsPerSide = shape.quadsPerSide, .withNormals = true});
    int position = 0, normal = 0, texcoord = 0;
    const std::vector<std::uint8_t> compressed = dracoBytes(grid, position, normal, texcoord);
    const std::size_t vertices = grid.positions.size();
    const std::string json =
        std::string(kMeshDocumentStart) +
        "\"extensionsUsed\":[\"KHR_draco_mesh_compression\"],"
        "\"extensionsRequired\":[\"KHR_draco_mesh_compression\"],"
        "\"meshes\":[{\"primitives\":[{\"attributes\":{\"POSITION\":0,\"NORMAL\":1,"
        "\"TEXCOORD_0\":2},\"indices\":3,\"extensions\":{\"KHR_draco_mesh_compression\":{"
        "\"bufferView\":0,\"attributes\":{\"POSITION\":" +
        std::to_string(position) + ",\"NORMAL\":" + std::to_string(normal) +
        ",\"TEXCOORD_0\":" + std::to_string(texcoord) + "}}}}]}],\"accessors\":[" +
        accessor("", 5126, vertices, "VEC3") + "," + accessor("", 5126, vertices, "VEC3") + "," +
        accessor("", 5126, vertices, "VEC2") + "," +
        accessor("", 5125, grid.indices.size(), "SCALAR") +
        "],\"bufferViews\":[{\"buffer\":0,\"byteLength\":" + std::to_string(compressed.size()) +
        "}],\"buffers\":[{\"byteLength\":" + std::to_string(compressed.size()) + "}]}";
    writeGlb(file, json, compressed);
}

void writeMeshoptGridGlb(const std::filesystem::path& file, const GridShape& shape) {
    const GridArrays grid = gridArrays({.quadsPerSide = shape.quadsPerSide, .withNormals = true});
    const std::size_t vertices = grid.positions.size();
    MeshoptStreams streams;
    streams.addVertices(grid.positions.data(), vertices, sizeof(GridVec3), "NONE");
    const std::vector<std::int8_t> normals = octahedralNormals(grid.normals);
    streams.addVertices(normals.data(), vertices, 4, "OCTAHEDRAL");
    streams.addVertices(grid.uvs.data(), vertices, sizeof(GridVec2), "NONE");
    streams.addTriangles(grid.indices, vertices);
    const std::string json =
        std::string(kMeshDocumentStart) +
        "\"extensionsUsed\":[\"EXT_meshopt_compression\",\"KHR_mesh_quantization\"],"
        "\"extensionsRequired\":[\"EXT_meshopt_compression\",\"KHR_mesh_quantization\"],"
        "\"meshes\":[{\"primitives\":[{\"attributes\":{\"POSITION\":0,\"NORMAL\":1,"
        "\"TEXCOORD_0\":2},\"indices\":3}]}],\"accessors\":[" +
        accessor("\"bufferView\":0,", 5126, vertices, "VEC3") + "," +
        accessor("\"bufferView\":1,", 5120, vertices, "VEC3", ",\"normalized\":true") + "," +
        accessor("\"bufferView\":2,", 5126, vertices, "VEC2") + "," +
        accessor("\"bufferView\":3,", 5125, grid.indices.size(), "SCALAR") + "],\"bufferViews\":[" +
        streams.viewsJson() +
        "],\"buffers\":[{\"byteLength\":" + std::to_string(streams.bytes().size()) +
        "},{\"byteLength\":" + std::to_string(streams.fallbackSize()) +
        ",\"extensions\":{\"EXT_meshopt_compression\":{\"fallback\":true}}}]}";
    writeGlb(file, json, streams.bytes());
}

} // namespace bench
