#include "IndexPacking.h"
#include "MorphBlending.h"
#include "SceneBuilding.h"
#include "VertexPacking.h"
#include "VertexStreams.h"

#include <SceneGraph/Morpher.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Skinner.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace brightfold::preview {
namespace {

using namespace fixtures;
using scene::GeometrySemantic;
using ::testing::HasSubstr;
using Attribute = QQuick3DGeometry::Attribute;

template <class T> T readAt(const QByteArray& data, int offset) {
    T value;
    std::memcpy(&value, data.constData() + offset, sizeof(T));
    return value;
}

int offsetOf(const PackedVertices& packed, Attribute::Semantic semantic) {
    for (const Attribute& attribute : packed.attributes) {
        if (attribute.semantic == semantic) {
            return attribute.offset;
        }
    }
    return -1;
}

std::shared_ptr<scene::Geometry> richTriangle() {
    return scene::Geometry::create(
        {floatSource<3>(GeometrySemantic::vertex, {{0, 0, 0}, {2, 0, 0}, {0, 3, -1}}),
         floatSource<3>(GeometrySemantic::normal, {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}),
         floatSource<4>(GeometrySemantic::tangent, {{1, 0, 0, -1}, {1, 0, 0, -1}, {1, 0, 0, 1}}),
         integerSource<std::uint16_t>(GeometrySemantic::texcoord, {0, 65535, 65535, 0, 0, 0}, 2),
         floatSource<2>(GeometrySemantic::texcoord, {{5, 6}, {7, 8}, {9, 10}}),
         integerSource<std::uint8_t>(GeometrySemantic::color, {255, 0, 0, 0, 255, 0, 0, 0, 51}, 3)},
        {element<std::uint8_t>({0, 1, 2})});
}

TEST(VertexConversion, InterleavesEveryAttributeAsFloatsWithBinormalsAndOpaqueColours) {
    QStringList problems;
    const PackedVertices packed =
        packVertices(readVertexStreams(*richTriangle(), nullptr, problems));
    EXPECT_TRUE(problems.isEmpty());
    // position 3 + normal 3 + uv0 2 + uv1 2 + tangent 3 + binormal 3 + colour 4 floats.
    ASSERT_EQ(packed.stride, 20 * 4);
    ASSERT_EQ(packed.data.size(), 3 * packed.stride);
    for (const Attribute& attribute : packed.attributes) {
        EXPECT_EQ(attribute.componentType, Attribute::F32Type);
    }
    const int second = packed.stride;
    EXPECT_FLOAT_EQ(
        readAt<float>(packed.data, second + offsetOf(packed, Attribute::PositionSemantic)), 2.0f);
    EXPECT_FLOAT_EQ(readAt<float>(packed.data, offsetOf(packed, Attribute::TexCoord0Semantic) + 4),
                    1.0f);
    EXPECT_FLOAT_EQ(
        readAt<float>(packed.data, second + offsetOf(packed, Attribute::TexCoord1Semantic)), 7.0f);
    // Binormal = cross(n, t) · w: the first vertex is left-handed.
    const int binormal = offsetOf(packed, Attribute::BinormalSemantic);
    EXPECT_FLOAT_EQ(readAt<float>(packed.data, binormal + 4), -1.0f);
    EXPECT_FLOAT_EQ(readAt<float>(packed.data, 2 * second + binormal + 4), 1.0f);
    const int color = offsetOf(packed, Attribute::ColorSemantic);
    EXPECT_NEAR(readAt<float>(packed.data, 2 * second + color + 8), 0.2f, 1e-6);
    EXPECT_FLOAT_EQ(readAt<float>(packed.data, 2 * second + color + 12), 1.0f);
    EXPECT_EQ(packed.boundsMin, QVector3D(0, 0, -1));
    EXPECT_EQ(packed.boundsMax, QVector3D(2, 3, 0));
}

TEST(VertexConversion, LeavesOutSourcesShorterThanThePositionsAndSaysSo) {
    const auto geometry = scene::Geometry::create(
        {floatSource<3>(GeometrySemantic::vertex, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
         floatSource<3>(GeometrySemantic::normal, {{0, 0, 1}})});
    QStringList problems;
    const PackedVertices packed = packVertices(readVertexStreams(*geometry, nullptr, problems));
    EXPECT_EQ(offsetOf(packed, Attribute::NormalSemantic), -1);
    EXPECT_EQ(packed.stride, 12);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_THAT(problems[0].toStdString(), HasSubstr("normal data has 1 entries for 3 vertices"));
}

TEST(VertexConversion, WidensBoneIndicesToIntegersAndDropsUnknownBones) {
    const auto geometry = quad();
    const auto skinner = scene::Skinner::create(
        geometry, {scene::Node::create(), scene::Node::create()}, std::nullopt,
        floatSource<4>(GeometrySemantic::boneWeights,
                       {{0.5, 0.5, 0, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}, {0.25, 0.75, 0, 0}}),
        integerSource<std::uint8_t>(GeometrySemantic::boneIndices,
                                    {0, 1, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 7, 0, 0}, 4));
    QStringList problems;
    const VertexStreams streams = readVertexStreams(*geometry, skinner.get(), problems);
    ASSERT_EQ(streams.joints.size(), 4u);
    EXPECT_EQ(streams.joints[0], glm::ivec4(0, 1, 0, 0));
    EXPECT_EQ(streams.joints[3], glm::ivec4(1, 0, 0, 0));
    EXPECT_EQ(streams.weights[3], glm::vec4(0.25, 0, 0, 0));
    const PackedVertices packed = packVertices(streams);
    const auto joints =
        std::find_if(packed.attributes.begin(), packed.attributes.end(),
                     [](const Attribute& a) { return a.semantic == Attribute::JointSemantic; });
    ASSERT_NE(joints, packed.attributes.end());
    EXPECT_EQ(joints->componentType, Attribute::I32Type);
    EXPECT_EQ(readAt<std::int32_t>(packed.data, packed.stride + joints->offset), 1);
}

// Float attributes are copied straight from their bytes: they must land as the value-by-value
// reading gives them, wherever they lie in a shared buffer and however many components they
// have.
TEST(VertexConversion, FloatsInsideASharedBufferReadAsValueByValue) {
    // Vertex i: 4 bytes of padding before the first, then position xyz, texcoord uv and colour
    // rgb, 32 bytes apart.
    constexpr std::size_t stride = 32;
    std::vector<float> floats(3 * stride / 4 + 1, 0.0f);
    for (std::size_t vertex = 0; vertex < 3; ++vertex) {
        for (std::size_t component = 0; component < 8; ++component) {
            floats[1 + vertex * stride / 4 + component] =
                static_cast<float>(10 * vertex + component) + 0.5f;
        }
    }
    std::vector<std::uint8_t> bytes(floats.size() * 4);
    std::memcpy(bytes.data(), floats.data(), bytes.size());
    const scene::Bytes block = scene::makeBytes(std::move(bytes));
    const auto source = [&](GeometrySemantic semantic, std::size_t offset, int components) {
        return scene::GeometrySource::create(block, semantic,
                                             {.vectorCount = 3,
                                              .componentsPerVector = components,
                                              .dataOffset = 4 + offset,
                                              .dataStride = stride});
    };
    const auto positions = source(GeometrySemantic::vertex, 0, 3);
    const auto texcoords = source(GeometrySemantic::texcoord, 12, 2);
    const auto colours = source(GeometrySemantic::color, 20, 3);
    const auto geometry = scene::Geometry::create({positions, texcoords, colours});
    QStringList problems;
    const VertexStreams streams = readVertexStreams(*geometry, nullptr, problems);
    EXPECT_TRUE(problems.isEmpty());
    ASSERT_EQ(streams.vertexCount(), 3u);
    for (std::size_t vertex = 0; vertex < 3; ++vertex) {
        EXPECT_EQ(streams.positions[vertex], glm::vec3(normalizedVectorAt(*positions, vertex)));
        EXPECT_EQ(streams.texcoords0[vertex], glm::vec2(normalizedVectorAt(*texcoords, vertex)));
        const glm::vec4 colour = normalizedVectorAt(*colours, vertex);
        EXPECT_EQ(streams.colors[vertex], glm::vec4(colour.r, colour.g, colour.b, 1.0f));
    }
    EXPECT_EQ(streams.texcoords0[2], glm::vec2(23.5f, 24.5f));
}

TEST(IndexConversion, PicksTheNarrowestWidthThatHoldsEveryIndex) {
    QStringList problems;
    const auto small = scene::Geometry::create({floatSource<3>(GeometrySemantic::vertex, {})},
                                               {element<std::uint64_t>({0, 65535, 2})});
    const auto packedSmall = packIndices(*small, 70000, problems);
    ASSERT_EQ(packedSmall.size(), 1u);
    EXPECT_EQ(packedSmall[0].componentType, Attribute::U16Type);
    EXPECT_EQ(readAt<std::uint16_t>(packedSmall[0].data, 2), 65535);

    const auto large = scene::Geometry::create(
        {floatSource<3>(GeometrySemantic::vertex, {})},
        {element<std::uint8_t>({0, 1, 2}), element<std::uint32_t>({0, 65536, 2})});
    const auto packedLarge = packIndices(*large, 70000, problems);
    ASSERT_EQ(packedLarge.size(), 1u);
    EXPECT_EQ(packedLarge[0].componentType, Attribute::U32Type);
    EXPECT_EQ(packedLarge[0].data.size(), 6 * 4);
    EXPECT_EQ(readAt<std::uint32_t>(packedLarge[0].data, 16), 65536u);
    EXPECT_TRUE(problems.isEmpty());
}

// 16- and 32-bit indices are copied from their bytes: from where the element starts in a
// shared block, and still checked against the vertices wherever the bad index stands.
TEST(IndexConversion, CopiedIndicesStartAtTheElementAndAreStillChecked) {
    const std::vector<std::uint16_t> block{7, 7, 0, 2, 1};
    std::vector<std::uint8_t> bytes(block.size() * 2);
    std::memcpy(bytes.data(), block.data(), bytes.size());
    const auto offsetElement = scene::GeometryElement::create(
        scene::makeBytes(std::move(bytes)), scene::PrimitiveType::triangles, 1, 2, 4);
    const auto geometry =
        scene::Geometry::create({floatSource<3>(GeometrySemantic::vertex, {})},
                                {offsetElement, element<std::uint32_t>({0, 0xFFFFFFFFu, 1}),
                                 element<std::uint16_t>({3, 0, 1})});
    QStringList problems;
    const auto parts = packIndices(*geometry, 3, problems);
    ASSERT_EQ(parts.size(), 1u);
    ASSERT_EQ(parts[0].subsets.size(), 1u);
    EXPECT_EQ(parts[0].data.size(), 3 * 2);
    EXPECT_EQ(readAt<std::uint16_t>(parts[0].data, 0), 0);
    EXPECT_EQ(readAt<std::uint16_t>(parts[0].data, 2), 2);
    EXPECT_EQ(readAt<std::uint16_t>(parts[0].data, 4), 1);
    ASSERT_EQ(problems.size(), 2);
    EXPECT_THAT(problems[0].toStdString(), HasSubstr("Part 2 of a mesh"));
    EXPECT_THAT(problems[1].toStdString(), HasSubstr("Part 3 of a mesh"));
}

TEST(IndexConversion, GroupsElementsByPrimitiveTypeAndDropsOnesThatReachPastTheVertices) {
    const auto geometry = scene::Geometry::create(
        {floatSource<3>(GeometrySemantic::vertex, {})},
        {element<std::uint16_t>({0, 1, 2}),
         element<std::uint16_t>({0, 1}, scene::PrimitiveType::line),
         element<std::uint16_t>({0, 1, 9}), element<std::uint16_t>({1, 2, 3, 0, 2, 3})});
    QStringList problems;
    const auto parts = packIndices(*geometry, 4, problems);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].primitiveType, QQuick3DGeometry::PrimitiveType::Triangles);
    ASSERT_EQ(parts[0].subsets.size(), 2u);
    EXPECT_EQ(parts[0].subsets[1].offset, 3);
    EXPECT_EQ(parts[0].subsets[1].count, 6);
    EXPECT_EQ(parts[0].subsets[1].elementIndex, 3u);
    EXPECT_EQ(parts[1].primitiveType, QQuick3DGeometry::PrimitiveType::Lines);
    EXPECT_EQ(parts[1].subsets[0].elementIndex, 1u);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_THAT(problems[0].toStdString(), HasSubstr("Part 3 of a mesh"));
}

TEST(MorphBlending, AddsWeightedOffsetsOfEveryTargetAndRenormalisesNormals) {
    const auto geometry = quad();
    auto morpher = scene::Morpher::create();
    morpher->setCalculationMode(scene::MorpherCalculationMode::additive);
    morpher->setTargets(
        {scene::Geometry::create({floatSource<3>(GeometrySemantic::vertex,
                                                 {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}}),
                                  floatSource<3>(GeometrySemantic::normal,
                                                 {{1, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0}})}),
         scene::Geometry::create({floatSource<3>(GeometrySemantic::vertex,
                                                 {{1, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}})})});
    QStringList problems;
    const VertexStreams base = readVertexStreams(*geometry, nullptr, problems);
    const auto offsets = readMorphOffsets(*morpher, base, problems);
    VertexStreams blended;
    blendMorphTargets(base, offsets, {1.0, 2.0}, blended);
    EXPECT_EQ(blended.positions[0], glm::vec3(1, -1, 1));
    EXPECT_EQ(blended.positions[1], glm::vec3(1, -1, 1));
    EXPECT_NEAR(glm::length(blended.normals[0]), 1.0f, 1e-6);
    EXPECT_NEAR(blended.normals[0].x, blended.normals[0].z, 1e-6);
    EXPECT_TRUE(problems.isEmpty());
}

TEST(MorphBlending, WholeShapeTargetsBlendFromTheBaseAndMismatchedTargetsMoveNothing) {
    const auto geometry = quad();
    auto morpher = scene::Morpher::create();
    morpher->setCalculationMode(scene::MorpherCalculationMode::normalized);
    morpher->setTargets(
        {scene::Geometry::create({floatSource<3>(
             GeometrySemantic::vertex, {{-1, -1, 2}, {1, -1, 2}, {1, 1, 2}, {-1, 1, 2}})}),
         scene::Geometry::create({floatSource<3>(GeometrySemantic::vertex, {{9, 9, 9}})})});
    QStringList problems;
    const VertexStreams base = readVertexStreams(*geometry, nullptr, problems);
    const auto offsets = readMorphOffsets(*morpher, base, problems);
    VertexStreams blended;
    blendMorphTargets(base, offsets, {0.25, 1.0}, blended);
    EXPECT_EQ(blended.positions[2], glm::vec3(1, 1, 0.5));
    ASSERT_EQ(problems.size(), 1);
    EXPECT_THAT(problems[0].toStdString(), HasSubstr("morph target"));
}

} // namespace
} // namespace brightfold::preview
