#include "CorpusFiles.h"
#include "SceneInspection.h"

#include <ModelImporter/ModelImporter.h>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace modelimporter;

namespace {

// Vertices of a Draco-compressed sphere whose positions are normalised 16-bit integers.
TEST(QuantizedAttributes, DracoSpherePositionsLieOnTheUnitSphere) {
    const auto file = brightfold::testing::corpusFile("glb/DenseSphere.glb");
    REQUIRE_CORPUS_FILE(file);
    const auto scene = importWithAssimp(file);
    const auto positions =
        geometryNodes(*scene)[0]->geometry()->firstSource(scene::GeometrySemantic::vertex);
    ASSERT_EQ(positions->vectorCount(), 15362u);
    for (std::size_t i = 0; i < positions->vectorCount(); ++i) {
        ASSERT_NEAR(glm::length(glm::dvec3(positions->vector(i))), 1.0, 0.01) << "vertex " << i;
    }
}

// One triangle with float positions, texture coordinates as normalised unsigned bytes
// (0,0) (255,0) (0,255) and colours as normalised unsigned bytes.
constexpr const char* triangleWithByteCoordinates = R"({
  "asset": {"version": "2.0"}, "scene": 0, "scenes": [{"nodes": [0]}], "nodes": [{"mesh": 0}],
  "meshes": [{"primitives": [{"attributes": {"POSITION": 0, "TEXCOORD_0": 1, "COLOR_0": 2}}]}],
  "buffers": [{"byteLength": 56, "uri": "data:application/octet-stream;base64,AAAAAAAAAAAAAAAAAACAPwAAAAAAAAAAAAAAAAAAgD8AAAAAAAD/AAD/AAD/AAD/AP8A/wAA/4A="}],
  "bufferViews": [{"buffer": 0, "byteOffset": 0, "byteLength": 36},
                  {"buffer": 0, "byteOffset": 36, "byteLength": 6},
                  {"buffer": 0, "byteOffset": 44, "byteLength": 12}],
  "accessors": [
    {"bufferView": 0, "componentType": 5126, "count": 3, "type": "VEC3", "min": [0, 0, 0], "max": [1, 1, 0]},
    {"bufferView": 1, "componentType": 5121, "normalized": true, "count": 3, "type": "VEC2"},
    {"bufferView": 2, "componentType": 5121, "normalized": true, "count": 3, "type": "VEC4"}]
})";

TEST(QuantizedAttributes, NormalisedByteTextureCoordinatesKeepTheirValues) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("modelimporter-quantized-" + std::to_string(::getpid()) + ".gltf");
    std::ofstream(file) << triangleWithByteCoordinates;
    const auto scene = importWithAssimp(file);
    std::filesystem::remove(file);

    const auto& geometry = *geometryNodes(*scene)[0]->geometry();
    const auto uvs = geometry.firstSource(scene::GeometrySemantic::texcoord);
    ASSERT_NE(uvs, nullptr);
    EXPECT_EQ(uvs->vector(0), glm::dvec4(0, 0, 0, 0));
    EXPECT_EQ(uvs->vector(1), glm::dvec4(1, 0, 0, 0));
    EXPECT_EQ(uvs->vector(2), glm::dvec4(0, 1, 0, 0));
    const auto colors = geometry.firstSource(scene::GeometrySemantic::color);
    ASSERT_NE(colors, nullptr);
    EXPECT_NEAR(colors->vector(2).w, 128.0 / 255.0, 1e-6);
}

} // namespace
