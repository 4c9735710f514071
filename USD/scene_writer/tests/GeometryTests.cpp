// How geometry elements become Mesh, Points and BasisCurves prims: index widths, strips,
// dropped primitives, normals, texture coordinates, colours, subsets and double-sided faces.

#include "SceneBuilding.h"
#include "geometry/GeometryPlan.h"

#include <array>
#include <cmath>
#include <gmock/gmock.h>
#include <utility>

namespace usd::test {
namespace {

using scene::GeometrySemantic;
using scene::PrimitiveType;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::vector<std::vector<float>> fivePoints{
    {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 2, 0}};

Array<std::int32_t> faceIndices(const Layer& layer, const std::string& prim = "/Root/Shape") {
    return valueAt<Array<std::int32_t>>(layer, prim + ".faceVertexIndices");
}

bool mentions(const std::vector<std::string>& notes, const std::string& text) {
    return std::ranges::any_of(notes, [&](const std::string& f) { return f.find(text) != f.npos; });
}

TEST(SceneWriterGeometry, EveryIndexWidthGivesTheSameTriangles) {
    for (const int width : {1, 2, 4, 8}) {
        SCOPED_TRACE(width);
        const auto scene = sceneWithGeometry(
            geometryWith(fivePoints, {0, 1, 2, 0, 2, 3}, PrimitiveType::triangles, width));
        const Layer layer = buildSceneLayer(*scene).layer;
        EXPECT_EQ(typeOf(layer, "/Root/Shape"), "Mesh");
        EXPECT_THAT(faceIndices(layer), ElementsAre(0, 1, 2, 0, 2, 3));
        EXPECT_THAT(valueAt<Array<std::int32_t>>(layer, "/Root/Shape.faceVertexCounts"),
                    ElementsAre(3, 3));
        EXPECT_EQ(valueAt<Array<Vec3f>>(layer, "/Root/Shape.points").size(), 5u)
            << "a mesh of one element keeps every vertex of its source";
        EXPECT_EQ(valueAt<Token>(layer, "/Root/Shape.subdivisionScheme").text, "none");
        EXPECT_THAT(valueAt<Array<Vec3f>>(layer, "/Root/Shape.extent"),
                    ElementsAre(Vec3f{0, 0, 0}, Vec3f{2, 2, 0}));
    }
}

TEST(SceneWriterGeometry, TriangleWithAnIndexPastTheVerticesIsDroppedAndReported) {
    const auto scene = sceneWithGeometry(geometryWith(fivePoints, {0, 1, 2, 0, 9, 3, 2, 3, 4}));
    const SceneLayer built = buildSceneLayer(*scene);
    EXPECT_THAT(faceIndices(built.layer), ElementsAre(0, 1, 2, 2, 3, 4));
    EXPECT_TRUE(mentions(built.notes, "1 primitive(s) with an index past the vertices"));
}

TEST(SceneWriterGeometry, StripsAlternateWindingAndDropRepeatedIndices) {
    // (0,1,2), then (1,3,2) with the odd winding; (2,3,3) and (3,4,3) repeat an index; (3,4,0).
    const auto scene = sceneWithGeometry(
        geometryWith(fivePoints, {0, 1, 2, 3, 3, 4, 0}, PrimitiveType::triangleStrip, 2));
    const Layer layer = buildSceneLayer(*scene).layer;
    EXPECT_THAT(faceIndices(layer), ElementsAre(0, 1, 2, 1, 3, 2, 3, 4, 0));
}

// For USD tools; AR Quick Look draws no lines.
TEST(SceneWriterGeometry, PointsAndLinesAreWrittenDeIndexed) {
    auto scene = scene::Scene::create();
    for (const auto& [name, type, indices] :
         {std::tuple{"Dots", PrimitiveType::point, std::vector<std::uint64_t>{4, 1}},
          std::tuple{"Wire", PrimitiveType::line, std::vector<std::uint64_t>{0, 1, 1, 4}}}) {
        auto node = scene::Node::create(name);
        node->setGeometry(geometryWith(fivePoints, indices, type));
        scene->rootNode()->addChildNode(node);
    }
    const SceneLayer built = buildSceneLayer(*scene, "Root", {}, usdToolsOptions());
    const Layer& layer = built.layer;
    EXPECT_EQ(typeOf(layer, "/Root/Dots"), "Points");
    EXPECT_THAT(valueAt<Array<Vec3f>>(layer, "/Root/Dots.points"),
                ElementsAre(Vec3f{2, 2, 0}, Vec3f{1, 0, 0}));
    EXPECT_EQ(typeOf(layer, "/Root/Wire"), "BasisCurves");
    EXPECT_EQ(valueAt<Array<Vec3f>>(layer, "/Root/Wire.points").size(), 4u);
    EXPECT_THAT(valueAt<Array<std::int32_t>>(layer, "/Root/Wire.curveVertexCounts"),
                ElementsAre(2, 2));
    EXPECT_EQ(valueAt<Token>(layer, "/Root/Wire.type").text, "linear");
    EXPECT_FALSE(sourceOf(layer, "/Root/Wire.material:binding").empty());
    const auto notes = checkWrittenLayer(*scene, layer);
    EXPECT_TRUE(mentions(notes, "/Root/Dots: points are not shown"));
    EXPECT_TRUE(mentions(notes, "/Root/Wire: AR Quick Look does not accept prims of type "
                                "BasisCurves"));
}

TEST(SceneWriterGeometry, MissingOrAllZeroNormalsAreOmittedAndIsolatedZeroOnesRepaired) {
    const auto normalsOf = [](std::vector<std::vector<float>> normals) {
        return buildSceneLayer(*sceneWithGeometry(
                                   quadGeometry({floatSource(GeometrySemantic::normal, normals)})))
            .layer;
    };
    EXPECT_FALSE(
        hasSpec(buildSceneLayer(*sceneWithGeometry(quadGeometry())).layer, "/Root/Shape.normals"));
    EXPECT_FALSE(
        hasSpec(normalsOf({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}), "/Root/Shape.normals"));
    const Layer repaired = normalsOf({{0, 0, 1}, {0, 0, 0}, {0, 0, 1}, {std::nanf(""), 0, 0}});
    EXPECT_THAT(valueAt<Array<Vec3f>>(repaired, "/Root/Shape.normals"),
                ElementsAre(Vec3f{0, 0, 1}, Vec3f{0, 0, 1}, Vec3f{0, 0, 1}, Vec3f{0, 0, 1}));
    EXPECT_EQ(metadataOf(repaired, "/Root/Shape.normals", "interpolation")->get<Token>()->text,
              "vertex");
}

TEST(SceneWriterGeometry, TextureCoordinatesFlipVAndKeepEveryChannel) {
    const auto scene = sceneWithGeometry(quadGeometry(
        {floatSource(GeometrySemantic::texcoord, {{0, 0}, {1, 0}, {1, 1}, {0, 0.25f}}),
         floatSource(GeometrySemantic::texcoord, {{0.5f, 0.5f}, {0, 0}, {0, 0}, {0, 0}})}));
    const Layer layer = buildSceneLayer(*scene).layer;
    EXPECT_THAT(valueAt<Array<Vec2f>>(layer, "/Root/Shape.primvars:st"),
                ElementsAre(Vec2f{0, 1}, Vec2f{1, 1}, Vec2f{1, 0}, Vec2f{0, 0.75f}));
    EXPECT_EQ(valueAt<Array<Vec2f>>(layer, "/Root/Shape.primvars:st1").front(),
              (Vec2f{0.5f, 0.5f}));
    EXPECT_EQ(metadataOf(layer, "/Root/Shape.primvars:st1", "typeName")->get<Token>()->text,
              "texCoord2f[]");
}

// Packed 32-bit floats are read straight from their bytes; interleaved ones, other float
// widths and normalised integers must read the same.
TEST(SceneWriterGeometry, InterleavedAndNonFloatSourcesReadLikePackedFloats) {
    // Normals and texture coordinates interleaved (normal, st) in one block, st as 16-bit
    // normalised integers after two bytes of padding.
    std::vector<std::uint8_t> block;
    const auto append = [&](const auto& value) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
        block.insert(block.end(), bytes, bytes + sizeof value);
    };
    const std::uint16_t one = 65535;
    for (const auto& [normal, st] :
         {std::pair{Vec3f{0, 0, 1}, std::array<std::uint16_t, 2>{0, 0}},
          std::pair{Vec3f{0, 1, 0}, std::array<std::uint16_t, 2>{one, 0}},
          std::pair{Vec3f{1, 0, 0}, std::array<std::uint16_t, 2>{one, one}},
          std::pair{Vec3f{0, 0, -1}, std::array<std::uint16_t, 2>{0, one}}}) {
        append(normal);
        append(std::uint16_t{0});
        append(st);
    }
    const auto interleaved = scene::makeBytes(std::move(block));
    constexpr std::size_t stride = 12 + 2 + 4;
    const auto normals = scene::GeometrySource::create(
        interleaved, GeometrySemantic::normal,
        {.vectorCount = 4, .componentsPerVector = 3, .dataStride = stride});
    const auto st = scene::GeometrySource::create(interleaved, GeometrySemantic::texcoord,
                                                  {.vectorCount = 4,
                                                   .usesFloatComponents = false,
                                                   .componentsPerVector = 2,
                                                   .bytesPerComponent = 2,
                                                   .dataOffset = 14,
                                                   .dataStride = stride});
    const Layer layer = buildSceneLayer(*sceneWithGeometry(quadGeometry({normals, st}))).layer;
    EXPECT_THAT(valueAt<Array<Vec3f>>(layer, "/Root/Shape.normals"),
                ElementsAre(Vec3f{0, 0, 1}, Vec3f{0, 1, 0}, Vec3f{1, 0, 0}, Vec3f{0, 0, -1}));
    EXPECT_THAT(valueAt<Array<Vec2f>>(layer, "/Root/Shape.primvars:st"),
                ElementsAre(Vec2f{0, 1}, Vec2f{1, 1}, Vec2f{1, 0}, Vec2f{0, 0}));
}

TEST(SceneWriterGeometry, ColoursBecomeDisplayColorAndOpacityOnlyWhenTranslucent) {
    const auto write = [](float alpha) {
        return buildSceneLayer(*sceneWithGeometry(quadGeometry({floatSource(
                                   GeometrySemantic::color,
                                   {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, {1, 1, 1, alpha}})})))
            .layer;
    };
    const Layer opaque = write(1);
    EXPECT_EQ(valueAt<Array<Vec3f>>(opaque, "/Root/Shape.primvars:displayColor")[1],
              (Vec3f{0, 1, 0}));
    EXPECT_FALSE(hasSpec(opaque, "/Root/Shape.primvars:displayOpacity"));
    EXPECT_THAT(valueAt<Array<float>>(write(0.5f), "/Root/Shape.primvars:displayOpacity"),
                ElementsAre(1, 1, 1, 0.5f));
}

TEST(SceneWriterGeometry, ShortSourceIsLeftOutRatherThanReadPastItsEnd) {
    const auto scene = sceneWithGeometry(
        quadGeometry({floatSource(GeometrySemantic::texcoord, {{0, 0}, {1, 0}})}));
    const SceneLayer built = buildSceneLayer(*scene);
    EXPECT_FALSE(hasSpec(built.layer, "/Root/Shape.primvars:st"));
    EXPECT_TRUE(mentions(built.notes, "fewer vectors than the geometry has vertices"));
}

TEST(SceneWriterGeometry, BigMeshReadsItsVerticesBesideItsCornersAndReportsInOrder) {
    // Enough vertices for them to be read on a second thread while the corners are.
    constexpr std::size_t vertexCount = 70000;
    std::vector<std::vector<float>> positions;
    for (std::size_t v = 0; v < vertexCount; ++v)
        positions.push_back({float(v % 300), float(v / 300), 0});
    auto geometry = geometryWith(positions, {0, 1, 300, 1, 301, vertexCount});
    auto withShortSt = scene::Geometry::create(
        {geometry->sources()[0], floatSource(GeometrySemantic::texcoord, {{0, 0}, {1, 0}})},
        geometry->elements());
    const SceneLayer built = buildSceneLayer(*sceneWithGeometry(withShortSt));
    EXPECT_EQ(valueAt<Array<Vec3f>>(built.layer, "/Root/Shape.points").size(), vertexCount);
    EXPECT_EQ(valueAt<Array<Vec3f>>(built.layer, "/Root/Shape.points")[301], (Vec3f{1, 1, 0}));
    EXPECT_THAT(faceIndices(built.layer), ElementsAre(0, 1, 300));
    EXPECT_FALSE(hasSpec(built.layer, "/Root/Shape.primvars:st"));
    ASSERT_EQ(built.notes.size(), 2u);
    EXPECT_THAT(built.notes[0], HasSubstr("index past the vertices"));
    EXPECT_THAT(built.notes[1], HasSubstr("fewer vectors than the geometry has vertices"));
}

TEST(SceneWriterGeometry, ElementsSharingAMeshBecomeSubsetsBoundToTheirMaterials) {
    auto geometry =
        scene::Geometry::create({floatSource(GeometrySemantic::vertex, fivePoints)},
                                {elementOf({0, 1, 2}, PrimitiveType::triangles, 2),
                                 elementOf({2, 3, 4, 0, 2, 3}, PrimitiveType::triangles, 2)});
    geometry->setMaterials({pbrMaterial("Red"), pbrMaterial("Blue")});
    const Layer layer = buildSceneLayer(*sceneWithGeometry(geometry)).layer;
    EXPECT_EQ(valueAt<Token>(layer, "/Root/Shape.subsetFamily:materialBind:familyType").text,
              "partition");
    EXPECT_EQ(typeOf(layer, "/Root/Shape/subset"), "GeomSubset");
    EXPECT_THAT(valueAt<Array<std::int32_t>>(layer, "/Root/Shape/subset.indices"), ElementsAre(0));
    EXPECT_THAT(valueAt<Array<std::int32_t>>(layer, "/Root/Shape/subset_1.indices"),
                ElementsAre(1, 2));
    EXPECT_EQ(sourceOf(layer, "/Root/Shape/subset.material:binding"), "/Root/Materials/Red");
    EXPECT_EQ(sourceOf(layer, "/Root/Shape/subset_1.material:binding"), "/Root/Materials/Blue");
    EXPECT_FALSE(hasSpec(layer, "/Root/Shape.material:binding"));
}

TEST(SceneWriterGeometry, MixedElementsSplitIntoPrimsWithOnlyTheVerticesTheyUse) {
    auto geometry = scene::Geometry::create({floatSource(GeometrySemantic::vertex, fivePoints)},
                                            {elementOf({2, 3, 4}, PrimitiveType::triangles, 2),
                                             elementOf({0, 1}, PrimitiveType::line, 2)});
    const Layer layer =
        buildSceneLayer(*sceneWithGeometry(geometry), "Root", {}, usdToolsOptions()).layer;
    EXPECT_EQ(typeOf(layer, "/Root/Shape"), "Xform");
    EXPECT_EQ(typeOf(layer, "/Root/Shape/mesh"), "Mesh");
    EXPECT_THAT(valueAt<Array<Vec3f>>(layer, "/Root/Shape/mesh.points"),
                ElementsAre(Vec3f{1, 1, 0}, Vec3f{0, 1, 0}, Vec3f{2, 2, 0}));
    EXPECT_THAT(faceIndices(layer, "/Root/Shape/mesh"), ElementsAre(0, 1, 2));
    EXPECT_EQ(typeOf(layer, "/Root/Shape/curves"), "BasisCurves");
}

// For AR Quick Look the line elements are left out, and the finding names the node's prim.
TEST(SceneWriterGeometry, ARPackagesLeaveLinesOutAndSaySo) {
    auto geometry = scene::Geometry::create({floatSource(GeometrySemantic::vertex, fivePoints)},
                                            {elementOf({2, 3, 4}, PrimitiveType::triangles, 2),
                                             elementOf({0, 1}, PrimitiveType::line, 2)});
    const SceneLayer built = buildSceneLayer(*sceneWithGeometry(geometry));
    // The triangles alone are left, so the node's prim is their mesh.
    EXPECT_EQ(typeOf(built.layer, "/Root/Shape"), "Mesh");
    EXPECT_FALSE(hasSpec(built.layer, "/Root/Shape/curves"));
    EXPECT_TRUE(mentions(built.notes, "Node \"Shape\" (/Root/Shape): 1 line element(s) were "
                                      "left out"));
    EXPECT_TRUE(checkWrittenLayer(*sceneWithGeometry(geometry), built.layer, &built.files).empty());
}

TEST(SceneWriterGeometry, NodeWithGeometryAndChildrenHoldsItsMeshAsAChild) {
    auto scene = sceneWithGeometry(quadGeometry());
    scene->rootNode()->childNodes()[0]->addChildNode(scene::Node::create("mesh"));
    const Layer layer = buildSceneLayer(*scene).layer;
    EXPECT_EQ(typeOf(layer, "/Root/Shape"), "Xform");
    EXPECT_EQ(typeOf(layer, "/Root/Shape/mesh"), "Xform") << "the child keeps its own name";
    EXPECT_EQ(typeOf(layer, "/Root/Shape/mesh_1"), "Mesh");
}

TEST(SceneWriterGeometry, DoubleSidedMaterialAddsReversedCopiesOfFacesAndVertices) {
    auto geometry = quadGeometry(
        {floatSource(GeometrySemantic::normal, {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}})});
    auto material = pbrMaterial();
    material->doubleSided = true;
    geometry->setMaterials({material});
    const Layer layer = buildSceneLayer(*sceneWithGeometry(geometry)).layer;
    EXPECT_THAT(faceIndices(layer), ElementsAre(0, 1, 2, 0, 2, 3, 4, 6, 5, 4, 7, 6));
    const auto normals = valueAt<Array<Vec3f>>(layer, "/Root/Shape.normals");
    ASSERT_EQ(normals.size(), 8u);
    EXPECT_EQ(normals[3], (Vec3f{0, 0, 1}));
    EXPECT_EQ(normals[4], (Vec3f{-0.0f, -0.0f, -1}));
    EXPECT_FALSE(valueAt<bool>(layer, "/Root/Shape.doubleSided"));
    const Dictionary* data = metadataOf(layer, "/Root/Shape", "customData")->get<Dictionary>();
    EXPECT_TRUE(*data->find("emulatedDoubleSided")->get<bool>());
}

TEST(SceneWriterGeometry, FrontCullingShowsTheBackFacesInstead) {
    auto geometry = quadGeometry();
    auto material = pbrMaterial();
    material->cullMode = scene::CullMode::front;
    geometry->setMaterials({material});
    const Layer layer = buildSceneLayer(*sceneWithGeometry(geometry)).layer;
    EXPECT_THAT(faceIndices(layer), ElementsAre(0, 2, 1, 0, 3, 2));
}

} // namespace
} // namespace usd::test

namespace usd::test {
namespace {

// The limit is the signed 32-bit range in real use; a small one shows what happens past it.
TEST(SceneWriterGeometryPlan, ElementsPastTheCornerLimitAreSplitOrRefusedNeverWrapped) {
    auto geometry = scene::Geometry::create(
        {floatSource(GeometrySemantic::vertex, fivePoints)},
        {elementOf({0, 1, 2}, PrimitiveType::triangles, 2),
         elementOf({2, 3, 4, 0, 2, 3, 1, 2, 3}, PrimitiveType::triangles, 2)});
    std::vector<std::size_t> refused;
    const auto elementsOf = [](const std::vector<writer::GeometryPrimPlan>& plans) {
        std::vector<std::vector<std::size_t>> elements;
        for (const auto& plan : plans)
            elements.push_back(plan.elements);
        return elements;
    };

    EXPECT_THAT(elementsOf(writer::planGeometryPrims(*geometry, refused, 12)),
                ElementsAre(ElementsAre(0, 1)));
    EXPECT_THAT(elementsOf(writer::planGeometryPrims(*geometry, refused, 11)),
                ElementsAre(ElementsAre(0), ElementsAre(1)));
    EXPECT_THAT(elementsOf(writer::planGeometryPrims(*geometry, refused, 8)),
                ElementsAre(ElementsAre(0)));
    EXPECT_THAT(refused, ElementsAre(1));

    // Back faces drawn as copies count twice.
    auto twoSided = pbrMaterial();
    twoSided->doubleSided = true;
    geometry->setMaterials({twoSided});
    refused.clear();
    EXPECT_THAT(elementsOf(writer::planGeometryPrims(*geometry, refused, 12)),
                ElementsAre(ElementsAre(0)));
    EXPECT_THAT(refused, ElementsAre(1));
}

} // namespace
} // namespace usd::test
