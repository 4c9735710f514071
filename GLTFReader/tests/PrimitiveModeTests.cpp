// Every primitive mode, the attributes the reader has no place for, and skins with more than
// four influences per vertex.
#include "support/GeometryInspection.h"
#include "support/TestUnarchiver.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <SceneGraph/Geometry.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using gltf::testing::indicesOf;
using gltf::testing::semanticsOf;
using gltf::testing::TestBytes;
using gltf::testing::unarchiverOf;
using scene::GeometrySemantic;
using scene::PrimitiveType;
using testing::ElementsAre;

namespace {

// A unit square at z = 0, counter-clockwise seen from +z: v0 (0, 0), v1 (1, 0), v2 (1, 1),
// v3 (0, 1). Accessor 1 lists the one-byte indices 3 0 1 2, accessor 2 the indices 0 1 3 2;
// accessor 3 reads the positions again, for colours.
GLTFUnarchiver squareWith(const std::string& primitive) {
    TestBytes bytes;
    bytes.floats({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0});
    bytes.append<std::uint8_t>({3, 0, 1, 2, 0, 1, 3, 2});
    return unarchiverOf(bytes, R"(
        "bufferViews": [{"buffer": 0, "byteLength": 48}, {"buffer": 0, "byteOffset": 48,
                         "byteLength": 8}],
        "accessors": [{"bufferView": 0, "componentType": 5126, "count": 4, "type": "VEC3"},
                      {"bufferView": 1, "componentType": 5121, "count": 4, "type": "SCALAR"},
                      {"bufferView": 1, "byteOffset": 4, "componentType": 5121, "count": 4,
                       "type": "SCALAR"},
                      {"bufferView": 0, "componentType": 5126, "count": 4, "type": "VEC3"}],
        "meshes": [{"primitives": [)" +
                                   primitive + "]}]");
}

std::shared_ptr<scene::Geometry> primitiveGeometry(GLTFUnarchiver& unarchiver,
                                                   std::size_t primitive = 0) {
    return unarchiver.loadMesh(0)->childNodes().at(primitive)->geometry();
}

} // namespace

TEST(PrimitiveModes, EachModeGivesItsPrimitivesWithEveryAttributeKept) {
    struct Case {
        const char* primitive;
        PrimitiveType type;
        std::vector<std::uint64_t> indices;
    };
    const Case cases[] = {
        {R"("indices": 1, "mode": 0)", PrimitiveType::point, {3, 0, 1, 2}},
        {R"("mode": 1)", PrimitiveType::line, {0, 1, 2, 3}},
        {R"("indices": 1, "mode": 2)", PrimitiveType::line, {3, 0, 0, 1, 1, 2, 2, 3}},
        {R"("mode": 2)", PrimitiveType::line, {0, 1, 1, 2, 2, 3, 3, 0}},
        {R"("indices": 1, "mode": 3)", PrimitiveType::line, {3, 0, 0, 1, 1, 2}},
        {R"("mode": 3)", PrimitiveType::line, {0, 1, 1, 2, 2, 3}},
        {R"("indices": 2, "mode": 5)", PrimitiveType::triangleStrip, {0, 1, 3, 2}},
        {R"("indices": 1, "mode": 6)", PrimitiveType::triangles, {0, 1, 3, 1, 2, 3}},
        {R"("mode": 6)", PrimitiveType::triangles, {1, 2, 0, 2, 3, 0}},
    };
    for (const Case& expected : cases) {
        SCOPED_TRACE(expected.primitive);
        GLTFUnarchiver unarchiver = squareWith(R"({"attributes": {"POSITION": 0, "COLOR_0": 3},
            )" + std::string(expected.primitive) +
                                               "}");
        const auto geometry = primitiveGeometry(unarchiver);
        ASSERT_EQ(geometry->elements().size(), 1u);
        EXPECT_EQ(geometry->elements()[0]->primitiveType(), expected.type);
        EXPECT_EQ(indicesOf(*geometry->elements()[0]), expected.indices);
        const bool faces = expected.type == PrimitiveType::triangles ||
                           expected.type == PrimitiveType::triangleStrip;
        if (!faces) {
            // Points and lines need no normals.
            EXPECT_THAT(semanticsOf(*geometry),
                        ElementsAre(GeometrySemantic::color, GeometrySemantic::vertex));
            continue;
        }
        EXPECT_THAT(semanticsOf(*geometry),
                    ElementsAre(GeometrySemantic::color, GeometrySemantic::vertex,
                                GeometrySemantic::normal));
        // Every triangle of the square faces +z, whatever order its mode lists the corners in.
        const auto normals = geometry->firstSource(GeometrySemantic::normal);
        for (std::size_t vertex = 0; vertex < 4; ++vertex) {
            EXPECT_EQ(normals->vector(vertex), glm::dvec4(0, 0, 1, 0)) << vertex;
        }
    }
}

TEST(PrimitiveModes, OneByteIndicesGetComputedNormals) {
    GLTFUnarchiver unarchiver = squareWith(R"({"attributes": {"POSITION": 0}, "indices": 1})");
    // Four indices make one triangle, 3 0 1; vertex 2 belongs to none.
    const auto normals = primitiveGeometry(unarchiver)->firstSource(GeometrySemantic::normal);
    EXPECT_EQ(normals->vector(0), glm::dvec4(0, 0, 1, 0));
    EXPECT_EQ(normals->vector(1), glm::dvec4(0, 0, 1, 0));
    EXPECT_EQ(normals->vector(2), glm::dvec4(0, 0, 0, 0));
    EXPECT_EQ(normals->vector(3), glm::dvec4(0, 0, 1, 0));
}

TEST(PrimitiveModes, UnknownModesAreStillRefused) {
    GLTFUnarchiver unarchiver = squareWith(R"({"attributes": {"POSITION": 0}, "mode": 7})");
    EXPECT_EQ(gltf::testing::failureOf([&] { unarchiver.loadMesh(0); }),
              "NotSupported: createIndexAccessor: primitve mode 7 is not supported");
}

TEST(Attributes, UnknownAndApplicationSpecificOnesAreLeftOutAndReportedOncePerFile) {
    const gltf::testing::CapturedConsoleLines console;
    GLTFUnarchiver unarchiver = squareWith(R"(
        {"attributes": {"POSITION": 0, "_BATCHID": 1, "COLOR_1": 0}, "mode": 0},
        {"attributes": {"POSITION": 0, "_BATCHID": 1, "TEXCOORD_9": 0}, "mode": 0,
         "targets": [{"POSITION": 0, "_BATCHID": 1}]})");
    const auto meshNode = unarchiver.loadMesh(0);
    for (const auto& primitive : meshNode->childNodes()) {
        EXPECT_THAT(semanticsOf(*primitive->geometry()), ElementsAre(GeometrySemantic::vertex));
    }
    const std::string leftOut = "loadMesh: the attribute ";
    EXPECT_THAT(unarchiver.notes(),
                ElementsAre(leftOut + "COLOR_1 is not supported and is left out",
                            leftOut + "_BATCHID is not supported and is left out",
                            leftOut + "TEXCOORD_9 is not supported and is left out"));
    EXPECT_EQ(console.lines().size(), 3u);
    EXPECT_EQ(console.lines().front(), "warning: " + unarchiver.notes().front());
}

TEST(SkinInfluences, ExtraSetsAreFoldedIntoTheFourStrongest) {
    // Two vertices. Vertex 0: set 0 joints 1 2 3 4 weighing .3 .1 .1 .1, set 1 joints 5 6 7 2
    // weighing .2 .1 .05 .05. Vertex 1: joint 0 alone.
    TestBytes bytes;
    bytes.floats({0, 0, 0, 1, 0, 0});
    bytes.append<std::uint8_t>({1, 2, 3, 4, 0, 0, 0, 0, 5, 6, 7, 2, 0, 0, 0, 0});
    bytes.floats({0.3f, 0.1f, 0.1f, 0.1f, 1, 0, 0, 0, 0.2f, 0.1f, 0.05f, 0.05f, 0, 0, 0, 0});
    GLTFUnarchiver unarchiver = unarchiverOf(bytes, R"(
        "bufferViews": [{"buffer": 0, "byteLength": 24}, {"buffer": 0, "byteOffset": 24,
                         "byteLength": 16}, {"buffer": 0, "byteOffset": 40, "byteLength": 64}],
        "accessors": [{"bufferView": 0, "componentType": 5126, "count": 2, "type": "VEC3"},
                      {"bufferView": 1, "componentType": 5121, "count": 2, "type": "VEC4"},
                      {"bufferView": 1, "byteOffset": 8, "componentType": 5121, "count": 2,
                       "type": "VEC4"},
                      {"bufferView": 2, "componentType": 5126, "count": 2, "type": "VEC4"},
                      {"bufferView": 2, "byteOffset": 32, "componentType": 5126, "count": 2,
                       "type": "VEC4"}],
        "meshes": [{"primitives": [{"mode": 0, "attributes": {"POSITION": 0, "JOINTS_0": 1,
            "JOINTS_1": 2, "WEIGHTS_0": 3, "WEIGHTS_1": 4, "JOINTS_2": 1}}]}])");
    const auto geometry = primitiveGeometry(unarchiver);
    EXPECT_THAT(semanticsOf(*geometry),
                ElementsAre(GeometrySemantic::boneIndices, GeometrySemantic::vertex,
                            GeometrySemantic::boneWeights));
    const auto joints = geometry->firstSource(GeometrySemantic::boneIndices);
    const auto weights = geometry->firstSource(GeometrySemantic::boneWeights);
    // Joint 2 counts .15 from both sets; of the three joints weighing .1, the first listed
    // stays. The four kept weigh .75 together and are scaled back to the vertex's 1.
    EXPECT_EQ(joints->vector(0), glm::dvec4(1, 5, 2, 3));
    const glm::dvec4 vertexWeights = weights->vector(0);
    const double expected[] = {0.4, 0.2 / 0.75, 0.2, 0.1 / 0.75};
    for (int place = 0; place < 4; ++place) {
        EXPECT_NEAR(vertexWeights[place], expected[place], 1e-6) << place;
    }
    EXPECT_EQ(joints->vector(1), glm::dvec4(0, 0, 0, 0));
    EXPECT_EQ(weights->vector(1), glm::dvec4(1, 0, 0, 0));
    EXPECT_THAT(unarchiver.notes(),
                ElementsAre("loadMesh: joint and weight set 2 is incomplete and is left out"));
}
