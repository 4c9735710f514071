// Mesh topology and vertex data: triangulation, hostile indices, primvar interpolations,
// normals, subsets.

#include "SceneReaderTestSupport.h"

#include <SceneGraph/GeometryElement.h>
#include <SceneGraph/GeometrySource.h>
#include <SceneGraph/Material.h>
#include <gmock/gmock.h>

namespace usd::test {
namespace {

using scene::GeometrySemantic;
using ::testing::HasSubstr;

std::shared_ptr<scene::Geometry> onlyGeometry(const ReadResult& result, const std::string& name) {
    const auto node = findNode(*result.scene, name);
    return node ? node->geometry() : nullptr;
}

bool anyWarningContains(const ReadResult& result, const std::string& text) {
    for (const std::string& warning : result.notes) {
        if (warning.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(MeshTopology, PolygonsBecomeFansAndDegenerateFacesAreSkipped) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    // A triangle, a quad, a pentagon, a two-corner face and a hole.
    defineMesh(build, "/Shape",
               {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {-1, 0.5f, 0}, {2, 2, 0}},
               {3, 4, 5, 2, 3}, {0, 1, 2, 0, 1, 2, 3, 0, 1, 2, 3, 4, 0, 1, 0, 1, 5});
    build.addAttribute(Path::fromString("/Shape"), "holeIndices",
                       {"int[]", Array<std::int32_t>{4}});
    const ReadResult result = readLayer(layer);
    const auto geometry = onlyGeometry(result, "Shape");
    ASSERT_NE(geometry, nullptr);
    EXPECT_EQ(triangleCount(*geometry), 1u + 2u + 3u);
    // The quad's fan starts at its first corner.
    const auto corners = trianglePositions(*geometry, 0);
    EXPECT_EQ(corners[3], glm::dvec3(0, 0, 0));
    EXPECT_EQ(corners[4], glm::dvec3(1, 0, 0));
    EXPECT_EQ(corners[5], glm::dvec3(1, 1, 0));
}

TEST(MeshTopology, HostileIndicesAreRefusedFaceByFaceOrMeshByMesh) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    defineMesh(build, "/OutOfRange", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {3, 3},
               {0, 1, 2, 0, 7, -1});
    defineMesh(build, "/NegativeCorner", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {3, 3},
               {0, 1, 2, 0, -1, 1});
    defineMesh(build, "/CountMismatch", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {3, 3}, {0, 1, 2});
    defineMesh(build, "/NegativeCount", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {-3, 6}, {0, 1, 2});
    const ReadResult result = readLayer(layer);
    for (const char* name : {"OutOfRange", "NegativeCorner"}) {
        const auto geometry = onlyGeometry(result, name);
        ASSERT_NE(geometry, nullptr) << name;
        EXPECT_EQ(triangleCount(*geometry), 1u) << name;
        EXPECT_TRUE(anyWarningContains(result, "/" + std::string(name) +
                                                   " has 1 faces with corners outside its points"));
    }
    for (const char* name : {"CountMismatch", "NegativeCount"}) {
        const auto node = findNode(*result.scene, name);
        ASSERT_NE(node, nullptr) << name;
        EXPECT_EQ(node->geometry(), nullptr) << name;
    }
    EXPECT_TRUE(anyWarningContains(result, "/CountMismatch lists face sizes"));
}

// Most files store 32-bit ints and floats, which are read in place; every other width must
// come out the same, and an index too wide for 32 bits is refused like any out-of-range one.
TEST(MeshTopology, ArraysOfOtherWidthsReadLikeIntsAndFloats) {
    const auto half = [](float value) { return Half::fromFloat(value); };
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    const Path mesh = build.definePrim(Path::fromString("/Wide"), "Mesh");
    build.addAttribute(mesh, "points",
                       {"point3d[]", Array<Vec3d>{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}});
    build.addAttribute(mesh, "faceVertexCounts", {"int64[]", Array<std::int64_t>{4, 3}});
    build.addAttribute(mesh, "faceVertexIndices",
                       {"int64[]", Array<std::int64_t>{0, 1, 2, 3, 0, 2, 0x100000002}});
    build.addAttribute(mesh, "primvars:st",
                       {"texCoord2h[]", Array<Vec2h>{{half(0), half(0)},
                                                     {half(1), half(0)},
                                                     {half(1), half(1)},
                                                     {half(0), half(1)}}});
    build.setMetadata(mesh.appendProperty("primvars:st"), "interpolation", Token{"vertex"});
    const Path narrow = build.definePrim(Path::fromString("/Narrow"), "Mesh");
    build.addAttribute(narrow, "points",
                       {"point3f[]", Array<Vec3f>{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}});
    build.addAttribute(narrow, "faceVertexCounts", {"uint[]", Array<std::uint32_t>{3}});
    build.addAttribute(narrow, "faceVertexIndices", {"uchar[]", Array<std::uint8_t>{0, 1, 2}});
    const ReadResult result = readLayer(layer);

    const auto wide = onlyGeometry(result, "Wide");
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(triangleCount(*wide), 2u);
    EXPECT_TRUE(anyWarningContains(result, "/Wide has 1 faces with corners outside its points"));
    const auto corners = trianglePositions(*wide, 0);
    EXPECT_EQ(corners[1], glm::dvec3(1, 0, 0));
    EXPECT_EQ(corners[5], glm::dvec3(0, 1, 0));
    const auto st = wide->firstSource(GeometrySemantic::texcoord);
    ASSERT_NE(st, nullptr);
    EXPECT_EQ(st->vector(2), glm::dvec4(1, 0, 0, 0)); // (1, 1) with v flipped

    const auto narrowGeometry = onlyGeometry(result, "Narrow");
    ASSERT_NE(narrowGeometry, nullptr);
    EXPECT_EQ(trianglePositions(*narrowGeometry, 0)[2], glm::dvec3(1, 1, 0));
}

// Triangles whose data follows the points are copied in whole arrays. A second mesh with the
// same data, but face-varying coordinates, indexed normals and a subset of every face, goes
// corner by corner: both must give the same vertices (texture coordinates flipped) and the
// same triangles.
TEST(MeshPrimvars, WholeArrayCopiesMatchTheCornerByCornerPath) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    const std::vector<Vec3f> points{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    const std::vector<std::int32_t> corners{0, 1, 2, 0, 2, 3};
    for (const char* name : {"/Copied", "/Walked"}) {
        const Path mesh = defineMesh(build, name, points, {3, 3}, corners);
        build.addAttribute(
            mesh, "primvars:normals",
            {"normal3f[]", Array<Vec3f>{{0, 0, 1}, {0, 0.6f, 0.8f}, {0, 1, 0}, {1, 0, 0}}});
        build.setMetadata(mesh.appendProperty("primvars:normals"), "interpolation",
                          Token{"vertex"});
        build.addAttribute(mesh, "primvars:st",
                           {"texCoord2f[]", Array<Vec2f>{{0, 0}, {1, 0.25f}, {1, 1}, {0, 0.75f}}});
        build.setMetadata(mesh.appendProperty("primvars:st"), "interpolation", Token{"vertex"});
    }
    // Face-varying coordinates indexed like the points weld to the same vertices, but corner by
    // corner.
    const Path walked = Path::fromString("/Walked");
    build.setMetadata(walked.appendProperty("primvars:st"), "interpolation", Token{"faceVarying"});
    build.addAttribute(walked, "primvars:st:indices", {"int[]", Array<std::int32_t>(corners)});
    build.addAttribute(walked, "primvars:normals:indices",
                       {"int[]", Array<std::int32_t>{0, 1, 2, 3}});
    const Path subset = build.definePrim(walked.appendChild("all"), "GeomSubset");
    build.addAttribute(subset, "familyName",
                       {"token", Token{"materialBind"}, Variability::Uniform});
    build.addAttribute(subset, "indices", {"int[]", Array<std::int32_t>{0, 1}});
    const ReadResult result = readLayer(layer);

    const auto copied = onlyGeometry(result, "Copied");
    const auto walkedGeometry = onlyGeometry(result, "Walked");
    ASSERT_NE(copied, nullptr);
    ASSERT_NE(walkedGeometry, nullptr);
    ASSERT_EQ(copied->elements().size(), 1u);
    ASSERT_EQ(walkedGeometry->elements().size(), 1u);
    for (std::size_t i = 0; i < corners.size(); ++i) {
        EXPECT_EQ(copied->elements()[0]->index(i), static_cast<std::uint64_t>(corners[i]));
        EXPECT_EQ(walkedGeometry->elements()[0]->index(i), static_cast<std::uint64_t>(corners[i]));
    }
    for (const auto semantic :
         {GeometrySemantic::vertex, GeometrySemantic::normal, GeometrySemantic::texcoord}) {
        const auto fast = copied->firstSource(semantic);
        const auto slow = walkedGeometry->firstSource(semantic);
        ASSERT_NE(fast, nullptr);
        ASSERT_NE(slow, nullptr);
        ASSERT_EQ(fast->vectorCount(), points.size());
        ASSERT_EQ(slow->vectorCount(), points.size());
        for (std::size_t v = 0; v < points.size(); ++v) {
            EXPECT_EQ(fast->vector(v), slow->vector(v)) << "vertex " << v;
        }
    }
    EXPECT_EQ(copied->firstSource(GeometrySemantic::normal)->vector(1),
              glm::dvec4(0, 0.6f, 0.8f, 0));
    EXPECT_EQ(copied->firstSource(GeometrySemantic::texcoord)->vector(1),
              glm::dvec4(1, 0.75, 0, 0));
}

// A big mesh's vertex data is made on a second thread while its triangles are made, and its
// corners are checked on two: the result must be the same as for a small one.
TEST(MeshPrimvars, BigMeshesAreBuiltOnTwoThreadsToTheSameResult) {
    constexpr std::int32_t side = 420; // 176,400 points and 1,053,366 corners: two threads
    std::vector<Vec3f> points;
    std::vector<Vec2f> st;
    for (std::int32_t y = 0; y < side; ++y) {
        for (std::int32_t x = 0; x < side; ++x) {
            points.push_back({float(x), float(y), 0});
            st.push_back({float(x) / side, float(y) / side});
        }
    }
    std::vector<std::int32_t> corners;
    for (std::int32_t y = 0; y + 1 < side; ++y) {
        for (std::int32_t x = 0; x + 1 < side; ++x) {
            const std::int32_t a = y * side + x;
            corners.insert(corners.end(), {a, a + 1, a + side, a + 1, a + side + 1, a + side});
        }
    }
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    const Path mesh = defineMesh(build, "/Big", points,
                                 std::vector<std::int32_t>(corners.size() / 3, 3), corners);
    build.addAttribute(mesh, "primvars:st", {"texCoord2f[]", Array<Vec2f>(st)});
    build.setMetadata(mesh.appendProperty("primvars:st"), "interpolation", Token{"vertex"});
    // The corners of a mesh this big are checked in two halves at once: a negative corner in
    // the first and one past the points at the very end must both be found.
    std::vector<std::int32_t> brokenCorners = corners;
    brokenCorners[4] = -1;
    brokenCorners.back() = side * side;
    defineMesh(build, "/Broken", points, std::vector<std::int32_t>(corners.size() / 3, 3),
               brokenCorners);
    const ReadResult result = readLayer(layer);
    const auto broken = onlyGeometry(result, "Broken");
    ASSERT_NE(broken, nullptr);
    EXPECT_EQ(triangleCount(*broken), corners.size() / 3 - 2);
    EXPECT_TRUE(anyWarningContains(result, "/Broken has 2 faces with corners outside its points"));

    const auto geometry = onlyGeometry(result, "Big");
    ASSERT_NE(geometry, nullptr);
    EXPECT_EQ(triangleCount(*geometry), corners.size() / 3);
    const auto positions = geometry->firstSource(GeometrySemantic::vertex);
    const auto texcoords = geometry->firstSource(GeometrySemantic::texcoord);
    const auto normals = geometry->firstSource(GeometrySemantic::normal);
    ASSERT_EQ(positions->vectorCount(), points.size());
    ASSERT_EQ(normals->vectorCount(), points.size());
    for (std::size_t v : {std::size_t{0}, std::size_t{12345}, points.size() - 1}) {
        EXPECT_EQ(positions->vector(v), glm::dvec4(points[v][0], points[v][1], 0, 0));
        EXPECT_FLOAT_EQ(float(texcoords->vector(v).y), 1.0f - st[v][1]);
        EXPECT_NEAR(normals->vector(v).z, 1.0, 1e-6); // computed: the grid faces +z
    }
    EXPECT_EQ(geometry->elements()[0]->index(corners.size() - 1),
              static_cast<std::uint64_t>(corners.back()));
}

// Welding many corners: face-varying coordinates whose indices agree at every point give one
// vertex per point, however many faces meet there; without indices, one per face corner.
TEST(MeshPrimvars, FaceVaryingValuesIndexedAlikeAtAPointShareOneVertex) {
    constexpr int side = 60;
    std::vector<Vec3f> points;
    Array<Vec2f> st;
    for (int y = 0; y <= side; ++y) {
        for (int x = 0; x <= side; ++x) {
            points.push_back({float(x), float(y), 0});
            st.push_back({float(x) / side, float(y) / side});
        }
    }
    std::vector<std::int32_t> counts;
    std::vector<std::int32_t> indices;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const int first = y * (side + 1) + x;
            counts.push_back(4);
            indices.insert(indices.end(), {first, first + 1, first + side + 2, first + side + 1});
        }
    }
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    const Path mesh = defineMesh(build, "/Grid", points, counts, indices);
    build.addAttribute(mesh, "primvars:st", {"texCoord2f[]", st});
    build.setMetadata(mesh.appendProperty("primvars:st"), "interpolation", Token{"faceVarying"});
    build.addAttribute(mesh, "primvars:st:indices",
                       {"int[]", Array<std::int32_t>(indices.begin(), indices.end())});
    const Path unshared = defineMesh(build, "/Unshared", points, counts, indices);
    Array<Vec2f> perCorner;
    for (std::int32_t point : indices) {
        perCorner.push_back(st[static_cast<std::size_t>(point)]);
    }
    build.addAttribute(unshared, "primvars:st", {"texCoord2f[]", std::move(perCorner)});
    build.setMetadata(unshared.appendProperty("primvars:st"), "interpolation",
                      Token{"faceVarying"});
    const ReadResult result = readLayer(layer);
    EXPECT_EQ(
        onlyGeometry(result, "Unshared")->firstSource(GeometrySemantic::vertex)->vectorCount(),
        indices.size());
    const auto geometry = onlyGeometry(result, "Grid");
    ASSERT_NE(geometry, nullptr);
    EXPECT_EQ(triangleCount(*geometry), 2u * side * side);
    EXPECT_EQ(geometry->firstSource(GeometrySemantic::vertex)->vectorCount(), points.size());
    const auto corners = trianglePositions(*geometry, 0);
    const auto texcoords = geometry->firstSource(GeometrySemantic::texcoord);
    const auto element = geometry->elements()[0];
    for (std::size_t i = 0; i < corners.size(); i += 97) {
        const glm::dvec4 uv = texcoords->vector(element->index(i));
        EXPECT_NEAR(uv.x, corners[i].x / side, 1e-6);
        EXPECT_NEAR(uv.y, 1 - corners[i].y / side, 1e-6);
    }
}

TEST(MeshTopology, LeftHandedFacesAreReversedWithTheirFaceVaryingData) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    const Path mesh = defineMesh(build, "/Left", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {3}, {0, 1, 2});
    build.addAttribute(mesh, "orientation", {"token", Token{"leftHanded"}, Variability::Uniform});
    build.addAttribute(mesh, "primvars:st",
                       {"texCoord2f[]", Array<Vec2f>{{0, 0}, {0.5f, 0}, {0, 0.5f}}});
    build.setMetadata(mesh.appendProperty("primvars:st"), "interpolation", Token{"faceVarying"});
    const ReadResult result = readLayer(layer);
    const auto geometry = onlyGeometry(result, "Left");
    ASSERT_NE(geometry, nullptr);
    const auto corners = trianglePositions(*geometry, 0);
    EXPECT_EQ(corners[1], glm::dvec3(0, 1, 0));
    EXPECT_EQ(corners[2], glm::dvec3(1, 0, 0));
    // The corner at (0, 1) keeps its own coordinate (0, 0.5), flipped to v = 0.5.
    const auto texcoords = geometry->firstSource(GeometrySemantic::texcoord);
    const auto element = geometry->elements()[0];
    EXPECT_EQ(glm::dvec2(texcoords->vector(element->index(1))), glm::dvec2(0, 0.5));
    EXPECT_EQ(glm::dvec2(texcoords->vector(element->index(2))), glm::dvec2(0.5, 1));
}

TEST(MeshPrimvars, InterpolationsAndIndicesSpreadValuesOverCorners) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    // Two quads sharing an edge.
    const Path mesh = defineMesh(build, "/Strip",
                                 {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 1, 0}},
                                 {4, 4}, {0, 1, 4, 3, 1, 2, 5, 4});
    build.addAttribute(mesh, "primvars:displayColor",
                       {"color3f[]", Array<Vec3f>{{1, 0, 0}, {0, 0, 1}}});
    build.setMetadata(mesh.appendProperty("primvars:displayColor"), "interpolation",
                      Token{"uniform"});
    build.addAttribute(mesh, "primvars:st", {"texCoord2f[]", Array<Vec2f>{{0, 0}, {1, 1}}});
    build.setMetadata(mesh.appendProperty("primvars:st"), "interpolation", Token{"faceVarying"});
    build.addAttribute(mesh, "primvars:st:indices",
                       {"int[]", Array<std::int32_t>{0, 1, 1, 0, 0, 1, 1, 0}});
    const ReadResult result = readLayer(layer);
    const auto geometry = onlyGeometry(result, "Strip");
    ASSERT_NE(geometry, nullptr);
    EXPECT_EQ(triangleCount(*geometry), 4u);
    // Points 1 and 4 lie on both faces with different colours: 6 points, 8 vertices.
    EXPECT_EQ(geometry->firstSource(GeometrySemantic::vertex)->vectorCount(), 8u);
    const auto colors = geometry->firstSource(GeometrySemantic::color);
    ASSERT_NE(colors, nullptr);
    const auto element = geometry->elements()[0];
    EXPECT_EQ(colors->vector(element->index(0)), glm::dvec4(1, 0, 0, 1));
    EXPECT_EQ(colors->vector(element->index(6)), glm::dvec4(0, 0, 1, 1));
}

TEST(MeshPrimvars, MismatchedOrUnknownPrimvarsAreDroppedNotGuessed) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    const Path mesh = defineQuad(build, "/Quad");
    build.addAttribute(mesh, "primvars:st", {"texCoord2f[]", Array<Vec2f>{{0, 0}, {1, 1}}});
    build.setMetadata(mesh.appendProperty("primvars:st"), "interpolation", Token{"vertex"});
    build.addAttribute(mesh, "primvars:st1", {"texCoord2f[]", Array<Vec2f>{{0, 0}}});
    build.setMetadata(mesh.appendProperty("primvars:st1"), "interpolation", Token{"vertex"});
    build.addAttribute(mesh, "primvars:st1:indices", {"int[]", Array<std::int32_t>{0, 0, 0, 9}});
    const ReadResult result = readLayer(layer);
    const auto geometry = onlyGeometry(result, "Quad");
    ASSERT_NE(geometry, nullptr);
    EXPECT_TRUE(geometry->sourcesForSemantic(GeometrySemantic::texcoord).empty());
    EXPECT_TRUE(anyWarningContains(result, "primvars:st of /Quad has 2 elements"));
    EXPECT_TRUE(anyWarningContains(result, "primvars:st1 of /Quad has indices outside"));
}

TEST(MeshNormals, AuthoredWinComputedFollowTheSubdivisionScheme) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    // A folded strip: two triangles at right angles sharing points 1 and 2.
    const std::vector<Vec3f> points{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, -1}};
    const Path flat = defineMesh(build, "/Flat", points, {3, 3}, {0, 1, 2, 1, 3, 2});
    build.addAttribute(flat, "subdivisionScheme", {"token", Token{"none"}, Variability::Uniform});
    defineMesh(build, "/Smooth", points, {3, 3}, {0, 1, 2, 1, 3, 2});
    const Path authored = defineMesh(build, "/Authored", points, {3, 3}, {0, 1, 2, 1, 3, 2});
    build.addAttribute(authored, "normals",
                       {"normal3f[]", Array<Vec3f>{{1, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0}}});
    build.addAttribute(authored, "primvars:normals", {"normal3f[]", Array<Vec3f>{{0, 0, 1}}});
    build.setMetadata(authored.appendProperty("primvars:normals"), "interpolation",
                      Token{"constant"});
    const ReadResult result = readLayer(layer);
    const auto vertexCount = [&](const char* name) {
        return onlyGeometry(result, name)->firstSource(GeometrySemantic::normal)->vectorCount();
    };
    EXPECT_EQ(vertexCount("Flat"), 6u);   // every face its own normal
    EXPECT_EQ(vertexCount("Smooth"), 4u); // shared at the points
    const auto normals = onlyGeometry(result, "Authored")->firstSource(GeometrySemantic::normal);
    EXPECT_EQ(glm::dvec3(normals->vector(0)), glm::dvec3(0, 0, 1));
    const auto smooth = onlyGeometry(result, "Smooth")->firstSource(GeometrySemantic::normal);
    // Point 1 lies on both faces: normals (0, 0, 1) and (1, 1, -1) by area, summed.
    EXPECT_NEAR(smooth->vector(1).x, std::sqrt(0.5), 1e-6);
    EXPECT_NEAR(smooth->vector(1).z, 0.0, 1e-6);
}

TEST(MeshSubsets, EachMaterialSubsetIsAnElementAndTheRestOneMore) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    const Path mesh = defineMesh(build, "/Cubeish", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                                 {3, 3, 3}, {0, 1, 2, 0, 2, 3, 0, 1, 3});
    for (const auto& [name, faces] : std::vector<std::pair<std::string, std::vector<std::int32_t>>>{
             {"red", {0, 99}}, {"blue", {2}}}) {
        const Path subset = build.definePrim(mesh.appendChild(name), "GeomSubset");
        build.addAttribute(subset, "elementType", {"token", Token{"face"}, Variability::Uniform});
        build.addAttribute(subset, "familyName",
                           {"token", Token{"materialBind"}, Variability::Uniform});
        build.addAttribute(subset, "indices", {"int[]", Array<std::int32_t>(faces)});
    }
    const ReadResult result = readLayer(layer);
    const auto geometry = onlyGeometry(result, "Cubeish");
    ASSERT_NE(geometry, nullptr);
    ASSERT_EQ(geometry->elements().size(), 3u);
    EXPECT_EQ(geometry->elements()[0]->primitiveCount(), 1u);
    EXPECT_EQ(geometry->elements()[1]->primitiveCount(), 1u);
    EXPECT_EQ(geometry->elements()[2]->primitiveCount(), 1u);
    EXPECT_EQ(geometry->materials().size(), 3u);
    EXPECT_TRUE(anyWarningContains(result, "/Cubeish/red names 1 faces"));
    // Subsets are data of the mesh, not nodes.
    EXPECT_EQ(findNode(*result.scene, "red"), nullptr);
}

TEST(MeshSubsets, EmulatedDoubleSidedMeshesAreFoldedBack) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    const Path mesh = defineMesh(build, "/Leaf",
                                 {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}},
                                 {3, 3}, {0, 1, 2, 3, 5, 4});
    Dictionary data;
    data.set("emulatedDoubleSided", true);
    build.setMetadata(mesh, "customData", data);
    const ReadResult result = readLayer(layer);
    const auto geometry = onlyGeometry(result, "Leaf");
    ASSERT_NE(geometry, nullptr);
    EXPECT_EQ(triangleCount(*geometry), 1u);
    EXPECT_TRUE(geometry->materials().front()->doubleSided);
    // The back face's copies of the points are not kept either.
    EXPECT_EQ(geometry->firstSource(GeometrySemantic::vertex)->vectorCount(), 3u);
    EXPECT_EQ(geometry->firstSource(GeometrySemantic::normal)->vectorCount(), 3u);
}

TEST(PointsAndCurves, BecomePointAndLineElements) {
    Layer layer = metreLayer();
    LayerBuilder build(layer);
    const Path points = build.definePrim(Path::fromString("/Cloud"), "Points");
    build.addAttribute(points, "points", {"point3f[]", Array<Vec3f>{{0, 0, 0}, {1, 1, 1}}});
    const Path curves = build.definePrim(Path::fromString("/Wire"), "BasisCurves");
    build.addAttribute(curves, "type", {"token", Token{"linear"}, Variability::Uniform});
    build.addAttribute(
        curves, "points",
        {"point3f[]", Array<Vec3f>{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 1, 0}, {0, 2, 0}}});
    build.addAttribute(curves, "curveVertexCounts", {"int[]", Array<std::int32_t>{3, 2}});
    const Path broken = build.definePrim(Path::fromString("/Broken"), "BasisCurves");
    build.addAttribute(broken, "points", {"point3f[]", Array<Vec3f>{{0, 0, 0}}});
    build.addAttribute(broken, "curveVertexCounts", {"int[]", Array<std::int32_t>{4}});
    const ReadResult result = readLayer(layer);
    const auto cloud = onlyGeometry(result, "Cloud");
    ASSERT_NE(cloud, nullptr);
    EXPECT_EQ(cloud->elements()[0]->primitiveType(), scene::PrimitiveType::point);
    EXPECT_EQ(cloud->elements()[0]->primitiveCount(), 2u);
    const auto wire = onlyGeometry(result, "Wire");
    ASSERT_NE(wire, nullptr);
    EXPECT_EQ(wire->elements()[0]->primitiveType(), scene::PrimitiveType::line);
    EXPECT_EQ(wire->elements()[0]->primitiveCount(), 3u); // two segments, then one
    EXPECT_EQ(onlyGeometry(result, "Broken"), nullptr);
    EXPECT_TRUE(anyWarningContains(result, "/Broken list vertex counts"));
}

} // namespace
} // namespace usd::test
