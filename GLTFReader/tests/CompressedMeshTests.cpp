// Quantized attributes, meshopt-compressed buffer views and Draco-compressed primitives, on
// data encoded here with the same libraries' encoders, plus the corpus's compressed boxes.
#include "CorpusFiles.h"
#include "support/TestUnarchiver.h"

#include <BoundedRun.h>
#include <GLTFReader/GLTFSceneSource.h>
#include <GLTFReader/GLTFUnarchiver.h>
#include <SceneGraph/Geometry.h>
#include <cstring>
#include <draco/compression/encode.h>
#include <draco/mesh/triangle_soup_mesh_builder.h>
#include <draco/metadata/geometry_metadata.h>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <meshoptimizer.h>

using gltf::testing::failureOf;
using gltf::testing::TestBytes;
using gltf::testing::unarchiverOf;
using scene::GeometrySemantic;
using testing::StartsWith;

namespace {

glm::dvec4 vectorOf(GLTFUnarchiver& unarchiver, std::int64_t accessor, GeometrySemantic semantic,
                    std::size_t index) {
    return unarchiver.loadVertexAccessor(accessor, semantic)->vector(index);
}

std::vector<std::uint8_t> meshoptVertices(const void* vertices, std::size_t count,
                                          std::size_t stride) {
    std::vector<std::uint8_t> encoded(meshopt_encodeVertexBufferBound(count, stride));
    encoded.resize(
        meshopt_encodeVertexBuffer(encoded.data(), encoded.size(), vertices, count, stride));
    return encoded;
}

std::vector<std::uint8_t> meshoptTriangles(const std::vector<std::uint16_t>& indices,
                                           std::size_t vertexCount) {
    std::vector<std::uint8_t> encoded(meshopt_encodeIndexBufferBound(indices.size(), vertexCount));
    encoded.resize(
        meshopt_encodeIndexBuffer(encoded.data(), encoded.size(), indices.data(), indices.size()));
    return encoded;
}

// Streams packed one after another at multiples of four bytes, with their byte offsets and
// lengths (a decoder takes no padding after a stream).
struct PackedStreams {
    TestBytes bytes;
    std::vector<std::size_t> offsets;
    std::vector<std::size_t> lengths;

    void add(const std::vector<std::uint8_t>& stream) {
        offsets.push_back(bytes.size());
        lengths.push_back(stream.size());
        bytes.appendBytes(stream);
        while (bytes.size() % 4 != 0) {
            bytes.append<std::uint8_t>({0});
        }
    }
};

std::string streamView(const PackedStreams& streams, std::size_t stream, std::size_t fallbackOffset,
                       std::size_t fallbackLength, int stride, int count, const char* mode,
                       const char* filter = "NONE") {
    const std::string viewStride =
        std::string(mode) == "ATTRIBUTES" ? R"(, "byteStride": )" + std::to_string(stride) : "";
    return R"({"buffer": 1, "byteOffset": )" + std::to_string(fallbackOffset) +
           R"(, "byteLength": )" + std::to_string(fallbackLength) + viewStride +
           R"(, "extensions": {"EXT_meshopt_compression": {"buffer": 0, "byteOffset": )" +
           std::to_string(streams.offsets[stream]) + R"(, "byteLength": )" +
           std::to_string(streams.lengths[stream]) + R"(, "byteStride": )" +
           std::to_string(stride) + R"(, "count": )" + std::to_string(count) + R"(, "mode": ")" +
           mode + R"(", "filter": ")" + filter + R"("}}})";
}

} // namespace

TEST(MeshQuantization, IntegerAttributesReadAsFloats) {
    TestBytes bytes;
    bytes.append<std::int16_t>({100, -200, 300, 0});       // position, padded
    bytes.append<std::int8_t>({127, 0, -128, 0});          // normal, padded
    bytes.append<std::uint16_t>({65535, 0});               // texcoord normalized
    bytes.append<std::uint8_t>({3, 4, 0, 0});              // texcoord whole, padded
    bytes.append<std::int16_t>({0, 16384, -32767, 32767}); // tangent
    GLTFUnarchiver unarchiver = unarchiverOf(bytes, R"(
        "extensionsUsed": ["KHR_mesh_quantization"], "extensionsRequired": ["KHR_mesh_quantization"],
        "bufferViews": [{"buffer": 0, "byteLength": 28}],
        "accessors": [
            {"bufferView": 0, "componentType": 5122, "count": 1, "type": "VEC3"},
            {"bufferView": 0, "byteOffset": 8, "componentType": 5120, "normalized": true,
             "count": 1, "type": "VEC3"},
            {"bufferView": 0, "byteOffset": 12, "componentType": 5123, "normalized": true,
             "count": 1, "type": "VEC2"},
            {"bufferView": 0, "byteOffset": 16, "componentType": 5121, "count": 1, "type": "VEC2"},
            {"bufferView": 0, "byteOffset": 16, "componentType": 5121, "normalized": true,
             "count": 1, "type": "VEC3"},
            {"bufferView": 0, "byteOffset": 16, "componentType": 5122, "count": 1, "type": "VEC2"},
            {"bufferView": 0, "byteOffset": 20, "componentType": 5122, "normalized": true,
             "count": 1, "type": "VEC4"}])");
    EXPECT_EQ(vectorOf(unarchiver, 0, GeometrySemantic::vertex, 0), glm::dvec4(100, -200, 300, 0));
    EXPECT_EQ(vectorOf(unarchiver, 1, GeometrySemantic::normal, 0), glm::dvec4(1, 0, -1, 0));
    EXPECT_EQ(vectorOf(unarchiver, 2, GeometrySemantic::texcoord, 0), glm::dvec4(1, 0, 0, 0));
    EXPECT_EQ(vectorOf(unarchiver, 3, GeometrySemantic::texcoord, 0), glm::dvec4(3, 4, 0, 0));
    EXPECT_TRUE(
        unarchiver.loadVertexAccessor(3, GeometrySemantic::texcoord)->usesFloatComponents());
    const glm::dvec4 tangent = vectorOf(unarchiver, 6, GeometrySemantic::tangent, 0);
    EXPECT_FLOAT_EQ(static_cast<float>(tangent.y), 16384.0f / 32767.0f);
    EXPECT_EQ(tangent.z, -1);

    // Normals must be signed and normalized; texture coordinates need two components.
    EXPECT_EQ(failureOf([&] { unarchiver.loadVertexAccessor(4, GeometrySemantic::normal); }),
              "DataInconsistent: loadVertexAccessor: the accessor 4 stores normal vectors as "
              "normalized VEC3 of componentType 5121, which a quantized mesh cannot use");
    EXPECT_EQ(failureOf([&] { unarchiver.loadVertexAccessor(5, GeometrySemantic::vertex); }),
              "DataInconsistent: loadVertexAccessor: the accessor 5 stores vertex vectors as VEC2 "
              "of componentType 5122, which a quantized mesh cannot use");
}

TEST(MeshoptCompression, DecodesAttributesIndicesAndOctahedralNormals) {
    const float positions[] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
    const std::vector<std::uint16_t> indices = {0, 1, 2, 0, 2, 3};
    const float normals[] = {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, -1, 0, 0, 0};
    std::int8_t octahedral[16];
    meshopt_encodeFilterOct(octahedral, 4, 4, 8, normals);
    PackedStreams streams;
    streams.add(meshoptVertices(positions, 4, 12));
    streams.add(meshoptTriangles(indices, 4));
    streams.add(meshoptVertices(octahedral, 4, 4));
    const std::string views = "[" + streamView(streams, 0, 0, 48, 12, 4, "ATTRIBUTES") + ", " +
                              streamView(streams, 1, 48, 12, 2, 6, "TRIANGLES") + ", " +
                              streamView(streams, 2, 60, 16, 4, 4, "ATTRIBUTES", "OCTAHEDRAL") +
                              ", " + streamView(streams, 0, 0, 24000, 12, 2000, "ATTRIBUTES") +
                              R"(, {"buffer": 1, "byteLength": 12}])";
    GLTFUnarchiver unarchiver = unarchiverOf(
        R"("buffers": [{"uri": ")" + gltf::testing::dataUri(streams.bytes.bytes()) +
        R"(", "byteLength": )" + std::to_string(streams.bytes.size()) +
        R"(}, {"byteLength": 76, "extensions": {"EXT_meshopt_compression": {"fallback": true}}}],
        "bufferViews": )" +
        views + R"(,
        "accessors": [{"bufferView": 0, "componentType": 5126, "count": 4, "type": "VEC3"},
                      {"bufferView": 1, "componentType": 5123, "count": 6, "type": "SCALAR"},
                      {"bufferView": 2, "componentType": 5120, "normalized": true, "count": 4,
                       "type": "VEC3"}])");
    const auto source = unarchiver.loadVertexAccessor(0, GeometrySemantic::vertex);
    EXPECT_EQ(source->vector(2), glm::dvec4(1, 1, 0, 0));
    EXPECT_EQ(source->vector(3), glm::dvec4(0, 1, 0, 0));
    const auto element = unarchiver.loadIndexAccessor(1, 4);
    EXPECT_EQ(element->primitiveCount(), 2u);
    const auto normal = unarchiver.loadVertexAccessor(2, GeometrySemantic::normal);
    EXPECT_NEAR(normal->vector(0).z, 1, 0.01);
    EXPECT_NEAR(normal->vector(1).y, 1, 0.01);
    EXPECT_NEAR(normal->vector(2).x, 1, 0.01);
    EXPECT_NEAR(normal->vector(3).x, -1, 0.01);

    // A stream that claims more vertices than it holds, and plain reads of the fallback buffer.
    EXPECT_EQ(failureOf([&] { unarchiver.loadBufferView(3); }),
              "DataInconsistent: loadBufferView: bufferView 3 (EXT_meshopt_compression) does not "
              "decode to 2000 elements of 12 bytes; the stream is damaged or its count is wrong");
    EXPECT_EQ(failureOf([&] { unarchiver.loadBufferView(4); }),
              "DataInconsistent: loadBuffer: buffer 1 only stands in for EXT_meshopt_compression "
              "data; its bytes are not in the file");
}

TEST(MeshoptCompression, UndoesTheQuaternionAndExponentialFilters) {
    const float rotations[] = {0, 0, 0.7071068f, 0.7071068f, 1, 0, 0, 0};
    const float values[] = {1.5f, -1024.25f, 0.0009765625f};
    std::int16_t quaternions[8];
    std::uint32_t exponentials[3];
    meshopt_encodeFilterQuat(quaternions, 2, 8, 16, rotations);
    meshopt_encodeFilterExp(exponentials, 3, 4, 24, values);
    PackedStreams streams;
    streams.add(meshoptVertices(quaternions, 2, 8));
    streams.add(meshoptVertices(exponentials, 3, 4));
    GLTFUnarchiver unarchiver = unarchiverOf(
        R"("buffers": [{"uri": ")" + gltf::testing::dataUri(streams.bytes.bytes()) +
        R"(", "byteLength": )" + std::to_string(streams.bytes.size()) +
        R"(}, {"byteLength": 28, "extensions": {"EXT_meshopt_compression": {"fallback": true}}}],
        "bufferViews": [)" +
        streamView(streams, 0, 0, 16, 8, 2, "ATTRIBUTES", "QUATERNION") + ", " +
        streamView(streams, 1, 16, 12, 4, 3, "ATTRIBUTES", "EXPONENTIAL") + "]");
    const gltf::ByteSlice rotationView = unarchiver.loadBufferView(0);
    std::int16_t rotated[8];
    std::memcpy(rotated, rotationView.bytes().data(), sizeof rotated);
    EXPECT_NEAR(rotated[2] / 32767.0, 0.7071068, 1e-3);
    EXPECT_NEAR(rotated[3] / 32767.0, 0.7071068, 1e-3);
    EXPECT_NEAR(rotated[4] / 32767.0, 1, 1e-3);
    const gltf::ByteSlice valueView = unarchiver.loadBufferView(1);
    float decoded[3];
    std::memcpy(decoded, valueView.bytes().data(), sizeof decoded);
    EXPECT_FLOAT_EQ(decoded[0], 1.5f);
    EXPECT_FLOAT_EQ(decoded[1], -1024.25f);
    EXPECT_FLOAT_EQ(decoded[2], 0.0009765625f);
}

TEST(MeshoptCompression, RefusesStreamsTheDecodersCannotTakeSafely) {
    const std::pair<std::string, std::string> cases[] = {
        {R"("byteStride": 6, "count": 2, "mode": "ATTRIBUTES")",
         "mode ATTRIBUTES with filter NONE cannot have byteStride 6"},
        {R"("byteStride": 8, "count": 2, "mode": "ATTRIBUTES", "filter": "OCTAHEDRAL")", ""},
        {R"("byteStride": 4, "count": 2, "mode": "ATTRIBUTES", "filter": "QUATERNION")",
         "mode ATTRIBUTES with filter QUATERNION cannot have byteStride 4"},
        {R"("byteStride": 2, "count": 4, "mode": "TRIANGLES")",
         "holds 4 triangle indices, which is not a multiple of 3"},
        {R"("byteStride": 4, "count": 3, "mode": "POINTS")",
         "mode POINTS with filter NONE cannot have byteStride 4"},
        {R"("byteStride": 4, "count": 1000, "mode": "INDICES")",
         "decodes 1000 elements of 4 bytes into a view of 16 bytes"},
        {R"("byteStride": 4, "count": -1, "mode": "INDICES")",
         "decodes -1 elements of 4 bytes into a view of 16 bytes"},
    };
    for (const auto& [stream, problem] : cases) {
        GLTFUnarchiver unarchiver = unarchiverOf(R"("buffers": [{"uri": "data:;base64,AAAAAA==",
            "byteLength": 4}], "bufferViews": [{"buffer": 0, "byteLength": 16, "extensions":
            {"EXT_meshopt_compression": {"buffer": 0, "byteLength": 4, )" +
                                                 stream + "}}}]");
        const std::string failure = failureOf([&] { unarchiver.loadBufferView(0); });
        if (problem.empty()) {
            EXPECT_THAT(failure, StartsWith("DataInconsistent: loadBufferView: bufferView 0 "
                                            "(EXT_meshopt_compression) does not decode"));
        } else {
            EXPECT_EQ(failure,
                      "DataInconsistent: loadBufferView: bufferView 0 (EXT_meshopt_compression) " +
                          problem)
                << stream;
        }
    }
}

namespace {

// A unit square in z = 0 as two triangles, with texture coordinates equal to x and y (stored as
// `texcoordType`: the first bytes of each float for a type of fewer).
// `prepare` may choose the encoder's method and add metadata before encoding.
std::vector<std::uint8_t>
dracoSquare(int& positionId, int& texcoordId, draco::DataType texcoordType = draco::DT_FLOAT32,
            const std::function<void(draco::Mesh&, draco::Encoder&)>& prepare = {}) {
    draco::TriangleSoupMeshBuilder builder;
    builder.Start(2);
    const int position =
        builder.AddAttribute(draco::GeometryAttribute::POSITION, 3, draco::DT_FLOAT32);
    const int texcoord = builder.AddAttribute(draco::GeometryAttribute::TEX_COORD, 2, texcoordType);
    const float corners[4][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    const int faces[2][3] = {{0, 1, 2}, {0, 2, 3}};
    for (int face = 0; face < 2; ++face) {
        const float* a = corners[faces[face][0]];
        const float* b = corners[faces[face][1]];
        const float* c = corners[faces[face][2]];
        builder.SetAttributeValuesForFace(position, draco::FaceIndex(face), a, b, c);
        builder.SetAttributeValuesForFace(texcoord, draco::FaceIndex(face), a, b, c);
    }
    const std::unique_ptr<draco::Mesh> mesh = builder.Finalize();
    positionId = static_cast<int>(mesh->attribute(position)->unique_id());
    texcoordId = static_cast<int>(mesh->attribute(texcoord)->unique_id());
    draco::Encoder encoder;
    encoder.SetAttributeQuantization(draco::GeometryAttribute::POSITION, 14);
    if (texcoordType == draco::DT_FLOAT32)
        encoder.SetAttributeQuantization(draco::GeometryAttribute::TEX_COORD, 12);
    if (prepare)
        prepare(*mesh, encoder);
    draco::EncoderBuffer buffer;
    EXPECT_TRUE(encoder.EncodeMeshToBuffer(*mesh, &buffer).ok());
    return {buffer.data(), buffer.data() + buffer.size()};
}

GLTFUnarchiver dracoDocument(const std::vector<std::uint8_t>& compressed,
                             const std::string& attributes, int indexCount = 6) {
    TestBytes bytes;
    bytes.appendBytes(compressed);
    return unarchiverOf(bytes, R"(
        "extensionsUsed": ["KHR_draco_mesh_compression"],
        "extensionsRequired": ["KHR_draco_mesh_compression"],
        "bufferViews": [{"buffer": 0, "byteLength": )" +
                                   std::to_string(compressed.size()) + R"(}],
        "accessors": [{"componentType": 5126, "count": 4, "type": "VEC3"},
                      {"componentType": 5126, "count": 4, "type": "VEC2"},
                      {"componentType": 5125, "count": )" +
                                   std::to_string(indexCount) + R"(, "type": "SCALAR"}],
        "meshes": [{"primitives": [{"attributes": {"POSITION": 0, "TEXCOORD_0": 1}, "indices": 2,
                    "extensions": {"KHR_draco_mesh_compression": {"bufferView": 0,
                                   "attributes": )" +
                                   attributes + "}}}]}]");
}

} // namespace

TEST(DracoCompression, DecodesPositionsCoordinatesAndTriangles) {
    int positionId = 0;
    int texcoordId = 0;
    const std::vector<std::uint8_t> compressed = dracoSquare(positionId, texcoordId);
    GLTFUnarchiver unarchiver =
        dracoDocument(compressed, R"({"POSITION": )" + std::to_string(positionId) +
                                      R"(, "TEXCOORD_0": )" + std::to_string(texcoordId) + "}");
    const auto geometry = unarchiver.loadMesh(0)->childNodes().at(0)->geometry();
    const auto positions = geometry->firstSource(GeometrySemantic::vertex);
    const auto texcoords = geometry->firstSource(GeometrySemantic::texcoord);
    ASSERT_EQ(geometry->elements().size(), 1u);
    const auto& triangles = *geometry->elements()[0];
    ASSERT_EQ(triangles.primitiveCount(), 2u);
    EXPECT_EQ(positions->vectorCount(), 4u);
    for (std::size_t corner = 0; corner < 6; ++corner) {
        const std::size_t point = triangles.index(corner);
        const glm::dvec4 position = positions->vector(point);
        const glm::dvec4 coordinate = texcoords->vector(point);
        EXPECT_NEAR(position.x, std::round(position.x), 1e-3);
        EXPECT_NEAR(position.y, std::round(position.y), 1e-3);
        EXPECT_NEAR(coordinate.x, position.x, 1e-3);
        EXPECT_NEAR(coordinate.y, position.y, 1e-3);
    }
    // Computed normals face +z: the winding survived.
    EXPECT_NEAR(geometry->firstSource(GeometrySemantic::normal)->vector(0).z, 1, 1e-6);
}

TEST(DracoCompression, RefusesDataThatDoesNotDecode) {
    int positionId = 0;
    int texcoordId = 0;
    std::vector<std::uint8_t> compressed = dracoSquare(positionId, texcoordId);
    const std::string attributes = R"({"POSITION": )" + std::to_string(positionId) +
                                   R"(, "TEXCOORD_0": )" + std::to_string(texcoordId) + "}";
    const std::vector<std::uint8_t> cut(compressed.begin(),
                                        compressed.begin() + compressed.size() / 2);
    EXPECT_THAT(failureOf([&] { dracoDocument(cut, attributes).loadMesh(0); }),
                StartsWith("DataInconsistent: loadMesh: KHR_draco_mesh_compression data in "
                           "bufferView 0 does not decode: "));
    EXPECT_EQ(failureOf([&] {
                  dracoDocument(compressed, R"({"POSITION": 7, "TEXCOORD_0": 1})").loadMesh(0);
              }),
              "DataInconsistent: loadMesh: KHR_draco_mesh_compression has no attribute 7 for "
              "POSITION");
    EXPECT_EQ(failureOf([&] {
                  dracoDocument(compressed, R"({"POSITION": )" + std::to_string(texcoordId) +
                                                R"(, "TEXCOORD_0": 1})")
                      .loadMesh(0);
              }),
              "DataInconsistent: loadMesh: KHR_draco_mesh_compression attribute of 2 components "
              "does not fit accessor type VEC3");
    // Booleans are no accessor's values, and bytes other than 0 and 1 are no booleans at all.
    compressed = dracoSquare(positionId, texcoordId, draco::DT_BOOL);
    EXPECT_EQ(failureOf([&] {
                  dracoDocument(compressed, R"({"POSITION": )" + std::to_string(positionId) +
                                                R"(, "TEXCOORD_0": )" + std::to_string(texcoordId) +
                                                "}")
                      .loadMesh(0);
              }),
              "DataInconsistent: loadMesh: KHR_draco_mesh_compression attribute of booleans does "
              "not fit accessor type VEC2");
}

namespace {

// A Draco mesh header of bitstream `major`.`minor`, coded with Edgebreaker's standard traversal,
// that claims `faces` triangles, padded to `size` bytes.
std::vector<std::uint8_t> edgebreakerHeader(std::uint8_t major, std::uint8_t minor,
                                            std::uint32_t faces, std::size_t size) {
    std::vector<std::uint8_t> header{'D', 'R', 'A', 'C', 'O', major, minor, 1, 1, 0, 0, 0};
    const auto appendCount = [&](std::uint32_t count) {
        if (major < 2) {
            for (int shift = 0; shift < 32; shift += 8)
                header.push_back(static_cast<std::uint8_t>(count >> shift));
            return;
        }
        for (; count >= 0x80; count >>= 7)
            header.push_back(static_cast<std::uint8_t>(count | 0x80));
        header.push_back(static_cast<std::uint8_t>(count));
    };
    if (major < 2 || minor < 2)
        appendCount(0); // vertices added by the traversal
    appendCount(faces); // vertices coded
    appendCount(faces);
    header.resize(size, 0);
    return header;
}

} // namespace

// The library sets memory aside for every face a header claims before decoding any: a few
// hundred bytes claiming a hundred million would take gigabytes.
TEST(DracoCompression, RefusesFaceCountsTheDataOrTheIndicesCannotHold) {
    const std::string attributes = R"({"POSITION": 0})";
    for (const auto& [major, minor] : {std::pair{1, 6}, std::pair{2, 2}}) {
        const auto bomb = edgebreakerHeader(static_cast<std::uint8_t>(major),
                                            static_cast<std::uint8_t>(minor), 100'000'000, 179);
        std::string failure;
        const auto run = brightfold::testing::measureBounded(
            [&] { failure = failureOf([&] { dracoDocument(bomb, attributes).loadMesh(0); }); });
        EXPECT_EQ(failure, "DataInconsistent: loadMesh: KHR_draco_mesh_compression data in "
                           "bufferView 0 claims 100000000 triangles, more than its 179 bytes can "
                           "hold")
            << major << "." << minor;
        EXPECT_LT(run.peakMemoryGrowthMiB, 64.0);
    }

    // Every kind of header gives its count: the sequential coding, the entropy-coded traversal,
    // and one behind metadata (each shown by its header byte at `at`). Each square of two
    // triangles needs six indices.
    struct Kind {
        std::function<void(draco::Mesh&, draco::Encoder&)> prepare;
        std::size_t at;
        std::uint8_t mask;
        std::uint8_t value;
    };
    const std::vector<Kind> kinds = {
        {[](draco::Mesh&, draco::Encoder& encoder) { encoder.SetSpeedOptions(10, 10); }, 8, 0xFF,
         0},
        {[](draco::Mesh&, draco::Encoder& encoder) {
             encoder.options().SetGlobalInt("edgebreaker_method",
                                            draco::MESH_EDGEBREAKER_VALENCE_ENCODING);
         },
         11, 0xFF, 2},
        {[](draco::Mesh& mesh, draco::Encoder&) {
             auto metadata = std::make_unique<draco::GeometryMetadata>();
             metadata->AddEntryString("name", "square");
             auto part = std::make_unique<draco::Metadata>();
             part->AddEntryInt("side", 1);
             metadata->AddSubMetadata("part", std::move(part));
             mesh.AddMetadata(std::move(metadata));
         },
         10, 0x80, 0x80}};
    for (const Kind& kind : kinds) {
        int positionId = 0;
        int texcoordId = 0;
        const auto square = dracoSquare(positionId, texcoordId, draco::DT_FLOAT32, kind.prepare);
        ASSERT_EQ(square.at(kind.at) & kind.mask, kind.value) << kind.at;
        const std::string named = R"({"POSITION": )" + std::to_string(positionId) + "}";
        const auto geometry =
            dracoDocument(square, named).loadMesh(0)->childNodes().at(0)->geometry();
        EXPECT_EQ(geometry->elements().at(0)->primitiveCount(), 2u) << kind.at;
        EXPECT_EQ(failureOf([&] { dracoDocument(square, named, 5).loadMesh(0); }),
                  "DataInconsistent: loadMesh: KHR_draco_mesh_compression data in bufferView 0 "
                  "claims 2 triangles, more than the 5 indices of accessor 2 hold")
            << kind.at;
    }
}

namespace {

struct MeshFacts {
    std::size_t points = 0;
    std::size_t triangles = 0;
    glm::dvec3 low{1e9};
    glm::dvec3 high{-1e9};
};

// Points, triangles and the bounds of the positions in the mesh's own space.
MeshFacts meshFactsOf(const std::string& path) {
    const gltf::testing::CapturedConsoleLines quiet;
    const auto scene = GLTFSceneSource(brightfold::testing::corpus / path).sceneWithOptions();
    MeshFacts facts;
    scene->rootNode()->enumerateHierarchy([&](const scene::Node& node) {
        if (!node.geometry()) {
            return;
        }
        const auto positions = node.geometry()->firstSource(GeometrySemantic::vertex);
        facts.points += positions->vectorCount();
        for (const auto& element : node.geometry()->elements()) {
            facts.triangles += element->primitiveCount();
        }
        for (std::size_t point = 0; point < positions->vectorCount(); ++point) {
            const glm::dvec3 position(positions->vector(point));
            facts.low = glm::min(facts.low, position);
            facts.high = glm::max(facts.high, position);
        }
    });
    return facts;
}

} // namespace

TEST(CompressedMeshCorpus, CompressedBoxesMatchThePlainBox) {
    if (brightfold::testing::corpusMissing()) {
        GTEST_SKIP() << "../shared not found: " << brightfold::testing::corpus;
    }
    const MeshFacts plain = meshFactsOf("gltf/BoxTextured/BoxTextured.gltf");
    const MeshFacts draco = meshFactsOf("gltf/BoxDraco/BoxDraco.gltf");
    EXPECT_EQ(draco.points, plain.points);
    EXPECT_EQ(draco.triangles, plain.triangles);
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_NEAR(draco.low[axis], plain.low[axis], 1e-3);
        EXPECT_NEAR(draco.high[axis], plain.high[axis], 1e-3);
    }
    // The meshopt box keeps normalized positions of ±1 and halves them with its node's scale.
    const MeshFacts meshopt = meshFactsOf("gltf/BoxMeshopt/BoxMeshopt.gltf");
    EXPECT_EQ(meshopt.points, plain.points);
    EXPECT_EQ(meshopt.triangles, plain.triangles);
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_NEAR(meshopt.low[axis] / 2, plain.low[axis], 1e-3);
        EXPECT_NEAR(meshopt.high[axis] / 2, plain.high[axis], 1e-3);
    }
    const MeshFacts sphere = meshFactsOf("glb/DenseSphere.glb");
    EXPECT_GT(sphere.triangles, 1000u);
    // Its accessor marks the decoded integers normalized: a unit sphere, not one 32767 wide.
    EXPECT_NEAR(sphere.high.y, 1.0, 1e-4);
    EXPECT_NEAR(sphere.low.y, -1.0, 1e-4);
}
