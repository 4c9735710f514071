// Meshes simplified to a triangle limit, with every per-vertex array still their own.

#include "GridScenes.h"
#include "SceneBuilding.h"

#include <SceneGraph/Skinner.h>
#include <USD/layer/FieldNames.h>
#include <gmock/gmock.h>
#include <set>

namespace usd::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

template <typename T> const T* propertyOf(const Layer& layer, const Path& prim, const char* name) {
    const Spec* spec = layer.spec(prim.appendProperty(name));
    const Value* value = spec ? spec->field(field::kDefault) : nullptr;
    return value ? value->get<T>() : nullptr;
}

std::vector<Path> primsIn(const Layer& layer, const std::string& type) {
    std::vector<Path> prims;
    for (const auto& [path, spec] : layer.specs())
        if (spec.type == SpecType::Prim && typeOf(layer, path.text()) == type)
            prims.push_back(path);
    return prims;
}

std::size_t facesIn(const Layer& layer) {
    std::size_t faces = 0;
    for (const Path& mesh : primsIn(layer, "Mesh"))
        faces += propertyOf<Array<std::int32_t>>(layer, mesh, "faceVertexCounts")->size();
    return faces;
}

SceneLayer builtWithin(const scene::Scene& scene, std::uint64_t maxTriangles) {
    WriteOptions options;
    options.maxTriangles = maxTriangles;
    return buildSceneLayer(scene, "Root", {}, options);
}

// The weights of each vertex sum to one and name one of the two bones; Spine's is still the
// vertex's x / 100, as the grid gave it.
void expectValidInfluences(const Layer& layer, const Path& mesh) {
    const auto* weights = propertyOf<Array<float>>(layer, mesh, "primvars:skel:jointWeights");
    const auto* joints = propertyOf<Array<std::int32_t>>(layer, mesh, "primvars:skel:jointIndices");
    const auto* points = propertyOf<Array<Vec3f>>(layer, mesh, "points");
    ASSERT_TRUE(weights && joints && points);
    const std::size_t size = weights->size() / points->size();
    ASSERT_EQ(weights->size(), points->size() * size);
    ASSERT_EQ(joints->size(), weights->size());
    const auto* skeleton =
        propertyOf<Array<Token>>(layer, primsIn(layer, "Skeleton").at(0), "joints");
    for (std::size_t v = 0; v < points->size(); ++v) {
        std::array<float, 2> byJoint{};
        for (std::size_t k = 0; k < size; ++k) {
            const std::int32_t joint = (*joints)[v * size + k];
            ASSERT_TRUE(joint == 0 || joint == 1) << "vertex " << v;
            byJoint[static_cast<std::size_t>(joint)] += (*weights)[v * size + k];
        }
        ASSERT_NEAR(byJoint[0] + byJoint[1], 1.0f, 1e-5f) << "vertex " << v;
        const std::size_t spine = skeleton && skeleton->at(0).text.ends_with("Spine") ? 0 : 1;
        ASSERT_NEAR(byJoint[spine], (*points)[v][0] / 100.0f, 1e-4f) << "vertex " << v;
    }
}

// Both texture coordinates of the middle column's points are still there.
void expectSeamKept(const Layer& layer, const Path& mesh) {
    const auto* points = propertyOf<Array<Vec3f>>(layer, mesh, "points");
    const auto* st = propertyOf<Array<Vec2f>>(layer, mesh, "primvars:st");
    ASSERT_TRUE(points && st);
    ASSERT_EQ(st->size(), points->size());
    std::set<float> seamUs;
    for (std::size_t v = 0; v < points->size(); ++v)
        if ((*points)[v][0] == 50.0f)
            seamUs.insert((*st)[v][0]);
    EXPECT_THAT(seamUs, ElementsAre(0.5f, 1.5f));
}

TEST(TriangleBudget, ASkinnedMorphingGridComesDownToTheLimitWithItsArraysInStep) {
    const GridScene grid = skinnedGrid(100, 50);
    const SceneLayer built = builtWithin(*grid.scene, 1000);
    const std::size_t faces = facesIn(built.layer);
    EXPECT_LE(faces, 1000u);
    EXPECT_GT(faces, 500u) << "not far below what was asked";
    ASSERT_FALSE(built.notes.empty());
    EXPECT_EQ(built.notes[0], "The meshes were simplified from 10000 to " + std::to_string(faces) +
                                  " triangles (--max-triangles 1000).");
    const std::vector<Path> meshes = primsIn(built.layer, "Mesh");
    ASSERT_EQ(meshes.size(), 1u);
    expectValidInfluences(built.layer, meshes[0]);
    expectSeamKept(built.layer, meshes[0]);
    EXPECT_THAT(checkWrittenLayer(*grid.scene, built.layer, &built.files), IsEmpty());
    EXPECT_EQ(grid.body->geometry()->elements()[0]->primitiveCount(), 10000u)
        << "the scene itself is left as it was";
}

TEST(TriangleBudget, AGeometryDrawnTwiceCountsTwiceAndAModelWithinTheLimitIsKept) {
    const GridScene grid = skinnedGrid(40, 25);
    auto twin = scene::Node::create("Twin");
    twin->setGeometry(grid.body->geometry());
    grid.scene->rootNode()->addChildNode(twin);
    const SceneLayer shared = builtWithin(*grid.scene, 1000);
    EXPECT_LE(facesIn(shared.layer), 1000u);
    EXPECT_GT(facesIn(shared.layer), 800u);
    EXPECT_THAT(checkWrittenLayer(*grid.scene, shared.layer), IsEmpty());

    const SceneLayer within = builtWithin(*grid.scene, 4000);
    EXPECT_EQ(facesIn(within.layer), 4000u);
    EXPECT_THAT(within.notes, IsEmpty());
}

TEST(TriangleBudget, AGeometryDrawnTooOftenForTheLimitKeepsATriangleOrMoreEverywhere) {
    const GridScene grid = skinnedGrid(10, 10);
    for (int i = 0; i < 50; ++i) {
        auto copy = scene::Node::create("Copy" + std::to_string(i));
        copy->setGeometry(grid.body->geometry());
        grid.scene->rootNode()->addChildNode(copy);
    }
    const SceneLayer built = builtWithin(*grid.scene, 10);
    ASSERT_EQ(primsIn(built.layer, "Mesh").size(), 51u);
    for (const Path& mesh : primsIn(built.layer, "Mesh"))
        EXPECT_FALSE(
            propertyOf<Array<std::int32_t>>(built.layer, mesh, "faceVertexCounts")->empty())
            << mesh.text();
    ASSERT_FALSE(built.notes.empty());
    EXPECT_THAT(built.notes[0], HasSubstr("the limit was not reached"));
    EXPECT_THAT(checkWrittenLayer(*grid.scene, built.layer), IsEmpty());
}

TEST(TriangleBudget, AMeshWhoseArraysDisagreeIsKeptAndTheShortfallNoted) {
    // Three texture coordinates for four vertices: no renumbering fits them all.
    const auto quad =
        quadGeometry({floatSource(scene::GeometrySemantic::texcoord, {{0, 0}, {1, 0}, {1, 1}})});
    const SceneLayer built = builtWithin(*sceneWithGeometry(quad), 1);
    EXPECT_EQ(facesIn(built.layer), 2u);
    ASSERT_FALSE(built.notes.empty());
    EXPECT_THAT(built.notes[0],
                AllOf(StartsWith("The meshes were simplified from 2 to 2 triangles"),
                      HasSubstr("1 mesh(es) could not be simplified")));
}

} // namespace
} // namespace usd::test
