#include <SceneGraph/Geometry.h>
#include <SceneGraph/Material.h>
#include <cstring>
#include <gtest/gtest.h>

namespace scene {
namespace {

/// Appends the bytes of `value` to `bytes`.
template <class T> void append(std::vector<std::uint8_t>& bytes, T value) {
    const auto* first = reinterpret_cast<const std::uint8_t*>(&value);
    bytes.insert(bytes.end(), first, first + sizeof value);
}

/// An interleaved block: 4 padding bytes, then per vertex 3 floats of position and 2
/// unsigned shorts of texture coordinate (16 bytes per vertex).
Bytes interleavedVertices() {
    std::vector<std::uint8_t> bytes(4, 0xEE);
    for (int vertex = 0; vertex < 3; ++vertex) {
        append(bytes, float(vertex));
        append(bytes, float(vertex) + 0.5f);
        append(bytes, -float(vertex));
        append(bytes, std::uint16_t(vertex * 32767));
        append(bytes, std::uint16_t(65535));
    }
    return makeBytes(std::move(bytes));
}

TEST(GeometrySource, ReadsStridedVectorsInPlace) {
    const Bytes bytes = interleavedVertices();
    const auto positions = GeometrySource::create(
        bytes, GeometrySemantic::vertex,
        {.vectorCount = 3, .componentsPerVector = 3, .dataOffset = 4, .dataStride = 16});
    const auto texcoords = GeometrySource::create(bytes, GeometrySemantic::texcoord,
                                                  {.vectorCount = 3,
                                                   .usesFloatComponents = false,
                                                   .componentsPerVector = 2,
                                                   .bytesPerComponent = 2,
                                                   .dataOffset = 16,
                                                   .dataStride = 16});

    EXPECT_EQ(positions->data(), bytes) << "the block is shared, not copied";
    EXPECT_EQ(texcoords->data()->data(), bytes->data());
    EXPECT_EQ(positions->vector(2), glm::dvec4(2.0, 2.5, -2.0, 0.0));
    EXPECT_EQ(texcoords->vector(1), glm::dvec4(32767.0, 65535.0, 0.0, 0.0));
    EXPECT_NEAR(texcoords->normalizedVector(2).x, 65534.0 / 65535.0, 1e-12);
    EXPECT_EQ(texcoords->normalizedVector(0).y, 1.0);
    EXPECT_EQ(positions->normalizedVector(1), positions->vector(1)) << "floats stay as they are";
}

TEST(GeometrySource, ReadsEveryComponentType) {
    std::vector<std::uint8_t> bytes;
    append(bytes, std::int8_t(-128));
    append(bytes, std::int8_t(127));
    append(bytes, std::int16_t(-32767));
    append(bytes, std::uint16_t(0x3C00)); // half 1.0
    append(bytes, double(-0.25));
    const Bytes block = makeBytes(bytes);
    const auto signedBytes = GeometrySource::create(block, GeometrySemantic::normal,
                                                    {.vectorCount = 1,
                                                     .usesFloatComponents = false,
                                                     .signedComponents = true,
                                                     .componentsPerVector = 2,
                                                     .bytesPerComponent = 1,
                                                     .dataStride = 2});
    EXPECT_EQ(signedBytes->vector(0), glm::dvec4(-128.0, 127.0, 0.0, 0.0));
    EXPECT_EQ(signedBytes->normalizedVector(0), glm::dvec4(-1.0, 1.0, 0.0, 0.0));

    const auto signedShort = GeometrySource::create(block, GeometrySemantic::normal,
                                                    {.vectorCount = 1,
                                                     .usesFloatComponents = false,
                                                     .signedComponents = true,
                                                     .componentsPerVector = 1,
                                                     .bytesPerComponent = 2,
                                                     .dataOffset = 2,
                                                     .dataStride = 2});
    EXPECT_EQ(signedShort->normalizedVector(0).x, -1.0);

    const auto half = GeometrySource::create(block, GeometrySemantic::color,
                                             {.vectorCount = 1,
                                              .componentsPerVector = 1,
                                              .bytesPerComponent = 2,
                                              .dataOffset = 4,
                                              .dataStride = 2});
    EXPECT_EQ(half->component(0, 0), 1.0);
    const auto wide = GeometrySource::create(block, GeometrySemantic::color,
                                             {.vectorCount = 1,
                                              .componentsPerVector = 1,
                                              .bytesPerComponent = 8,
                                              .dataOffset = 6,
                                              .dataStride = 8});
    EXPECT_EQ(wide->component(0, 0), -0.25);
}

TEST(GeometrySource, RefusesLayoutsThatReadPastTheBytes) {
    const Bytes twelve = makeBytes(std::vector<std::uint8_t>(12));
    const auto create = [&](SourceLayout layout) {
        return GeometrySource::create(twelve, GeometrySemantic::vertex, layout);
    };
    EXPECT_NO_THROW(create({.vectorCount = 1, .dataStride = 12}));
    EXPECT_THROW(create({.vectorCount = 1, .dataOffset = 4, .dataStride = 12}),
                 std::invalid_argument);
    EXPECT_THROW(create({.vectorCount = 2, .dataStride = 12}), std::invalid_argument);
    EXPECT_THROW(create({.vectorCount = 2, .dataStride = 8}), std::invalid_argument)
        << "stride shorter than a vector";
    EXPECT_THROW(create({.vectorCount = 2, .dataStride = SIZE_MAX}), std::invalid_argument);
    EXPECT_THROW(create({.vectorCount = 1, .bytesPerComponent = 3, .dataStride = 12}),
                 std::invalid_argument);
    EXPECT_THROW(create({.vectorCount = 1, .componentsPerVector = 0}), std::invalid_argument);
    EXPECT_NO_THROW(GeometrySource::create(nullptr, GeometrySemantic::vertex, {.vectorCount = 0}));
}

TEST(GeometrySource, FromVectorsPacksFloats) {
    const std::vector<glm::vec3> normals{{0, 0, 1}, {0, 1, 0}};
    const auto source =
        GeometrySource::fromVectors(GeometrySemantic::normal, std::span<const glm::vec3>(normals));
    EXPECT_EQ(source->vectorCount(), 2u);
    EXPECT_EQ(source->dataStride(), 12u);
    EXPECT_EQ(source->vector(1), glm::dvec4(0, 1, 0, 0));
}

TEST(GeometryElement, PrimitiveCountsFollowTheType) {
    EXPECT_EQ(primitiveCountFor(PrimitiveType::triangles, 7), 2u);
    EXPECT_EQ(primitiveCountFor(PrimitiveType::triangleStrip, 5), 3u);
    EXPECT_EQ(primitiveCountFor(PrimitiveType::triangleStrip, 1), 0u);
    EXPECT_EQ(primitiveCountFor(PrimitiveType::line, 5), 2u);
    EXPECT_EQ(primitiveCountFor(PrimitiveType::point, 5), 5u);
    EXPECT_EQ(indexCountFor(PrimitiveType::triangleStrip, 3), 5u);
    EXPECT_EQ(indexCountFor(PrimitiveType::triangleStrip, 0), 0u);
}

TEST(GeometryElement, ReadsIndicesOfEveryWidthFromAnOffset) {
    std::vector<std::uint8_t> bytes(2, 0xFF);
    append(bytes, std::uint32_t(7));
    append(bytes, std::uint32_t(0x10000));
    append(bytes, std::uint32_t(3));
    const Bytes block = makeBytes(bytes);
    const auto element = GeometryElement::create(block, PrimitiveType::triangles, 1, 4, 2);
    EXPECT_EQ(element->data(), block);
    EXPECT_EQ(element->indexCount(), 3u);
    EXPECT_EQ(element->index(1), 0x10000u);

    const std::vector<std::uint64_t> wide{1, 0x1'0000'0000, 2};
    const auto generated = GeometryElement::fromIndices(std::span<const std::uint64_t>(wide),
                                                        PrimitiveType::triangles);
    EXPECT_EQ(generated->bytesPerIndex(), 8);
    EXPECT_EQ(generated->primitiveCount(), 1u);
    EXPECT_EQ(generated->index(1), 0x1'0000'0000u);

    const std::vector<std::uint8_t> small{4, 5};
    const auto points =
        GeometryElement::fromIndices(std::span<const std::uint8_t>(small), PrimitiveType::point);
    EXPECT_EQ(points->index(1), 5u);
}

TEST(GeometryElement, RefusesIndicesPastTheBytes) {
    const Bytes six = makeBytes(std::vector<std::uint8_t>(6));
    EXPECT_NO_THROW(GeometryElement::create(six, PrimitiveType::triangles, 1, 2));
    EXPECT_THROW(GeometryElement::create(six, PrimitiveType::triangles, 1, 2, 1),
                 std::invalid_argument);
    EXPECT_THROW(GeometryElement::create(six, PrimitiveType::triangles, 3, 1),
                 std::invalid_argument);
    EXPECT_THROW(GeometryElement::create(six, PrimitiveType::triangles, SIZE_MAX / 2, 2),
                 std::invalid_argument);
    EXPECT_THROW(GeometryElement::create(six, PrimitiveType::triangles, 1, 3),
                 std::invalid_argument);
}

TEST(Geometry, MaterialsCycleOverElementsAndSourcesGroupBySemantic) {
    const Bytes bytes = makeBytes(std::vector<std::uint8_t>(48));
    const auto uv0 =
        GeometrySource::create(bytes, GeometrySemantic::texcoord,
                               {.vectorCount = 2, .componentsPerVector = 2, .dataStride = 8});
    const auto uv1 =
        GeometrySource::create(bytes, GeometrySemantic::texcoord,
                               {.vectorCount = 2, .componentsPerVector = 2, .dataStride = 8});
    const auto position = GeometrySource::create(bytes, GeometrySemantic::vertex,
                                                 {.vectorCount = 2, .dataStride = 12});
    const auto element = GeometryElement::create(bytes, PrimitiveType::triangles, 1, 2);
    auto geometry = Geometry::create({uv0, position, uv1}, {element, element, element});
    auto red = Material::create();
    red->name = "red";
    auto blue = Material::create();
    blue->name = "blue";
    geometry->setMaterials({red, blue});

    EXPECT_EQ(geometry->sourcesForSemantic(GeometrySemantic::texcoord),
              (std::vector<std::shared_ptr<GeometrySource>>{uv0, uv1}));
    EXPECT_EQ(geometry->firstSource(GeometrySemantic::vertex), position);
    EXPECT_EQ(geometry->firstSource(GeometrySemantic::normal), nullptr);
    EXPECT_EQ(geometry->materialForElement(2), red);
    EXPECT_EQ(geometry->materialWithName("blue"), blue);

    EXPECT_THROW(geometry->setMaterials({red, nullptr}), std::invalid_argument);
    EXPECT_THROW(Geometry::create({uv0, nullptr}), std::invalid_argument);

    geometry->setName("body");
    const auto copy = geometry->copy();
    EXPECT_NE(copy, geometry);
    EXPECT_EQ(copy->name(), "body");
    EXPECT_EQ(copy->sources(), geometry->sources());
    EXPECT_EQ(copy->materials(), geometry->materials());
}

} // namespace
} // namespace scene
