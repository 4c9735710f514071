#include "support/GLTFTestDocument.h"
#include "support/GeometryInspection.h"
#include "support/TestUnarchiver.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/Morpher.h>
#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using gltf::testing::failureOf;
using gltf::testing::semanticsOf;
using gltf::testing::TestBytes;
using gltf::testing::unarchiverOf;
using scene::GeometrySemantic;
using testing::ElementsAre;

namespace {

// Five positions; triangle 0 1 2 faces +z, triangle 0 3 1 (four times larger) faces +y,
// triangle 2 2 4 has no area, and only it uses vertex 4.
TestBytes meshBytes() {
    TestBytes bytes;
    bytes.floats({0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 2, 5, 5, 5});
    bytes.append<std::uint16_t>({0, 1, 2, 0, 3, 1, 2, 2, 4, 0});
    bytes.append<std::uint16_t>({0, 1, 9, 0});
    return bytes;
}

constexpr const char* meshViewsAndAccessors = R"(
    "bufferViews": [{"buffer": 0, "byteLength": 60}, {"buffer": 0, "byteOffset": 60,
                     "byteLength": 18}, {"buffer": 0, "byteOffset": 80, "byteLength": 6}],
    "accessors": [
        {"bufferView": 0, "componentType": 5126, "count": 5, "type": "VEC3"},
        {"bufferView": 1, "componentType": 5123, "count": 9, "type": "SCALAR"},
        {"bufferView": 0, "componentType": 5126, "count": 5, "type": "VEC3"},
        {"bufferView": 1, "componentType": 5121, "count": 3, "type": "SCALAR"},
        {"bufferView": 0, "componentType": 5126, "count": 5, "type": "VEC2"},
        {"bufferView": 2, "componentType": 5123, "count": 3, "type": "SCALAR"},
        {"bufferView": 0, "componentType": 5126, "count": 5, "type": "VEC3", "name": "smile"},
        {"componentType": 5126, "count": 70000, "type": "VEC3"},
        {"bufferView": 0, "componentType": 5121, "count": 5, "type": "VEC3"},
        {"bufferView": 0, "componentType": 5125, "count": 5, "type": "VEC3"}])";

// Accessors: 0 positions, 1 the three triangles, 2 normals, 3 one-byte indices, 4 2-vectors,
// 5 indices naming vertex 9, 6 positions named "smile", 7 70 000 zero positions, 8 byte
// positions, 9 positions of unsigned 32-bit integers (no mesh may store them so).
GLTFUnarchiver unarchiverWithMeshes(const std::string& meshes) {
    return unarchiverOf(meshBytes(),
                        std::string(meshViewsAndAccessors) + R"(, "meshes": [)" + meshes + "]");
}

std::shared_ptr<scene::Geometry> firstGeometry(GLTFUnarchiver& unarchiver) {
    return unarchiver.loadMesh(0)->childNodes().at(0)->geometry();
}

std::vector<glm::dvec3> normalsOf(const scene::Geometry& geometry) {
    const auto source = geometry.firstSource(GeometrySemantic::normal);
    std::vector<glm::dvec3> normals;
    for (std::size_t vertex = 0; vertex < source->vectorCount(); ++vertex) {
        normals.emplace_back(source->vector(vertex));
    }
    return normals;
}

void expectNear(const glm::dvec3& actual, const glm::dvec3& expected) {
    EXPECT_NEAR(glm::length(actual - expected), 0, 1e-6)
        << actual.x << " " << actual.y << " " << actual.z;
}

} // namespace

TEST(Mesh, OneChildPerPrimitiveWithSourcesInAttributeNameOrder) {
    GLTFUnarchiver unarchiver = unarchiverWithMeshes(R"({"name": "body", "primitives": [
        {"attributes": {"POSITION": 0, "NORMAL": 2}},
        {"attributes": {"POSITION": 0, "NORMAL": 2, "TEXCOORD_0": 4}, "indices": 1, "mode": 4}]})");
    const auto meshNode = unarchiver.loadMesh(0);
    EXPECT_EQ(meshNode->name(), "body");
    ASSERT_EQ(meshNode->childNodes().size(), 2u);
    const auto first = meshNode->childNodes()[0]->geometry();
    EXPECT_THAT(semanticsOf(*first),
                ElementsAre(GeometrySemantic::normal, GeometrySemantic::vertex));
    ASSERT_EQ(first->elements().size(), 1u);
    EXPECT_EQ(first->elements()[0]->bytesPerIndex(), 2);
    EXPECT_EQ(first->elements()[0]->primitiveCount(), 1u);
    EXPECT_EQ(first->elements()[0]->data()->size(), 10u);
    const auto second = meshNode->childNodes()[1]->geometry();
    EXPECT_THAT(semanticsOf(*second),
                ElementsAre(GeometrySemantic::normal, GeometrySemantic::vertex,
                            GeometrySemantic::texcoord));
    EXPECT_EQ(second->elements()[0]->primitiveCount(), 3u);
}

TEST(Mesh, PrimitivesWithoutMaterialGetADefaultMaterialEach) {
    GLTFUnarchiver unarchiver = unarchiverWithMeshes(R"({"primitives": [
        {"attributes": {"NORMAL": 2}}, {"attributes": {"NORMAL": 2}}]})");
    const auto meshNode = unarchiver.loadMesh(0);
    const auto& first = meshNode->childNodes()[0]->geometry()->materials();
    const auto& second = meshNode->childNodes()[1]->geometry()->materials();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_NE(first[0], second[0]);
    EXPECT_EQ(first[0]->lightingModel, scene::LightingModel::physicallyBased);
    EXPECT_EQ(*first[0]->diffuse().color(), scene::Color::white(1.0));
    EXPECT_EQ(*first[0]->roughness().color(), scene::Color::white(1.0));
    // Without positions there is nothing to index.
    EXPECT_TRUE(meshNode->childNodes()[0]->geometry()->elements().empty());
}

TEST(Mesh, LaterRequestsGetACloneSharingTheGeometry) {
    GLTFUnarchiver unarchiver = unarchiverWithMeshes(R"({"primitives": [
        {"attributes": {"POSITION": 0, "NORMAL": 2}}]})");
    const auto first = unarchiver.loadMesh(0);
    const auto second = unarchiver.loadMesh(0);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->childNodes()[0]->geometry(), second->childNodes()[0]->geometry());
    EXPECT_EQ(failureOf([&] { unarchiver.loadMesh(1); }),
              "DataInconsistent: loadMesh: out of index: 1 < 1");
}

TEST(Mesh, RefusesWhatItCannotBuild) {
    const std::pair<const char*, std::string> cases[] = {
        {R"({"attributes": {"POSITION": 4}})",
         "NotSupported: createVertexArray: only 3 component vector is supported: 2"},
        {R"({"attributes": {"POSITION": 9}})",
         "DataInconsistent: loadVertexAccessor: the accessor 9 stores vertex vectors as VEC3 of "
         "componentType 5125, which a quantized mesh cannot use"},
        {R"({"attributes": {"POSITION": 0}, "indices": 5})",
         "DataInconsistent: createNormalSource: vertex index 9 is not below the vertex count 5"},
    };
    for (const auto& [primitive, failure] : cases) {
        GLTFUnarchiver unarchiver =
            unarchiverWithMeshes(R"({"primitives": [)" + std::string(primitive) + "]}");
        EXPECT_EQ(failureOf([&] { unarchiver.loadMesh(0); }), failure) << primitive;
        // An incomplete mesh is not kept: asking again fails again.
        EXPECT_EQ(failureOf([&] { unarchiver.loadMesh(0); }), failure) << primitive;
    }
}

TEST(Mesh, ManyVerticesGetWideGeneratedIndices) {
    GLTFUnarchiver unarchiver = unarchiverWithMeshes(R"({"primitives": [
        {"attributes": {"POSITION": 7}}]})");
    const auto element = firstGeometry(unarchiver)->elements().at(0);
    EXPECT_EQ(element->bytesPerIndex(), 4);
    EXPECT_EQ(element->index(69998), 69998u);
}

TEST(ComputedNormals, AreTheMeanOfUnitFaceNormalsAndSkipFacesWithoutArea) {
    GLTFUnarchiver unarchiver = unarchiverWithMeshes(R"({"primitives": [
        {"attributes": {"POSITION": 0}, "indices": 1}]})");
    const auto geometry = firstGeometry(unarchiver);
    EXPECT_THAT(semanticsOf(*geometry),
                ElementsAre(GeometrySemantic::vertex, GeometrySemantic::normal));
    const std::vector<glm::dvec3> normals = normalsOf(*geometry);
    ASSERT_EQ(normals.size(), 5u);
    const double half = std::sqrt(0.5);
    expectNear(normals[0], {0, half, half});
    expectNear(normals[1], {0, half, half});
    expectNear(normals[2], {0, 0, 1});
    expectNear(normals[3], {0, 1, 0});
    expectNear(normals[4], {0, 0, 0});
}

TEST(MorphTargets, AreNamedFromTargetNamesOrFromTheirPositionAccessor) {
    GLTFUnarchiver named = unarchiverWithMeshes(R"({"primitives": [
        {"attributes": {"POSITION": 0, "NORMAL": 2},
         "targets": [{"POSITION": 6}, {"POSITION": 0, "NORMAL": 2}]}],
        "weights": [0.25, 0.5], "extras": {"targetNames": ["open", "shut"]}})");
    const auto morpher = named.loadMesh(0)->childNodes()[0]->morpher();
    ASSERT_NE(morpher, nullptr);
    ASSERT_EQ(morpher->targets().size(), 2u);
    EXPECT_EQ(morpher->targets()[0]->name(), "open");
    EXPECT_EQ(morpher->targets()[1]->name(), "shut");
    EXPECT_THAT(semanticsOf(*morpher->targets()[1]),
                ElementsAre(GeometrySemantic::normal, GeometrySemantic::vertex));
    EXPECT_TRUE(morpher->targets()[1]->elements().empty());
    EXPECT_EQ(morpher->calculationMode(), scene::MorpherCalculationMode::additive);
    EXPECT_THAT(morpher->weights(), ElementsAre(0.25, 0.5));

    GLTFUnarchiver unnamed = unarchiverWithMeshes(R"({"primitives": [
        {"attributes": {"POSITION": 0, "NORMAL": 2}, "targets": [{"POSITION": 6}]}]})");
    EXPECT_EQ(unnamed.loadMesh(0)->childNodes()[0]->morpher()->targets()[0]->name(), "smile");
}

TEST(MorphTargets, RefuseTargetsTheyCannotName) {
    GLTFUnarchiver withoutPosition = unarchiverWithMeshes(R"({"primitives": [
        {"attributes": {"POSITION": 0, "NORMAL": 2}, "targets": [{"NORMAL": 2}]}]})");
    EXPECT_EQ(failureOf([&] { withoutPosition.loadMesh(0); }),
              "DataInconsistent: loadMesh: morph target 0 has no POSITION attribute to name it by");
    GLTFUnarchiver shortNames = unarchiverWithMeshes(R"({"primitives": [
        {"attributes": {"POSITION": 0, "NORMAL": 2}, "targets": [{"POSITION": 6}, {"POSITION": 6}]}],
        "extras": {"targetNames": ["only"]}})");
    EXPECT_EQ(failureOf([&] { shortNames.loadMesh(0); }),
              "DataInconsistent: loadMesh: targetNames has 1 entries for 2 morph targets");
}
