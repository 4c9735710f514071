// A million-triangle skinned, morphing mesh simplified to 100,000 triangles: the package
// passes the writer's self-check and both independent USD readers open it and see the
// triangles, points and skin weights we wrote.

#include "GridScenes.h"
#include "WrittenPackageOracle.h"

#include <USD/crate_reader/CrateReader.h>
#include <USD/layer/FieldNames.h>
#include <USD/package/PackageReader.h>
#include <cmath>
#include <gmock/gmock.h>
#include <simdjson.h>

namespace usd::test {
namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;

std::uint64_t number(simdjson::dom::element element) {
    std::uint64_t value = 0;
    return element.get(value) == simdjson::SUCCESS ? value : ~std::uint64_t{0};
}

// The one mesh of the package as we wrote it: faces, points and joint influences, and
// whether every vertex's weights sum to one over joints of the two bones.
struct WrittenMesh {
    std::uint64_t faces = 0, points = 0, influences = 0;
    bool weightsValid = false;
};

bool validWeights(const Array<float>& weights, const Array<std::int32_t>& joints,
                  std::size_t points) {
    const std::size_t size = points > 0 ? weights.size() / points : 0;
    if (size == 0 || weights.size() != points * size || joints.size() != weights.size())
        return false;
    for (std::size_t v = 0; v < points; ++v) {
        float sum = 0;
        for (std::size_t k = 0; k < size; ++k) {
            sum += weights[v * size + k];
            if (joints[v * size + k] < 0 || joints[v * size + k] > 1)
                return false;
        }
        if (std::abs(sum - 1.0f) > 1e-5f)
            return false;
    }
    return true;
}

template <typename T> const T* defaultOf(const Layer& layer, const Path& attribute) {
    const Spec* spec = layer.spec(attribute);
    const Value* value = spec ? spec->field(field::kDefault) : nullptr;
    return value ? value->get<T>() : nullptr;
}

WrittenMesh writtenMesh(const std::filesystem::path& package) {
    const Layer layer = readCrate(PackageReader::open(package).rootLayer().bytes);
    WrittenMesh mesh;
    for (const auto& [path, spec] : layer.specs()) {
        if (!path.isPropertyPath() || path.name() != "primvars:skel:jointIndices")
            continue;
        const Path prim = path.primPath();
        const auto* counts =
            defaultOf<Array<std::int32_t>>(layer, prim.appendProperty("faceVertexCounts"));
        const auto* points = defaultOf<Array<Vec3f>>(layer, prim.appendProperty("points"));
        const auto* joints = defaultOf<Array<std::int32_t>>(layer, path);
        const auto* weights =
            defaultOf<Array<float>>(layer, prim.appendProperty("primvars:skel:jointWeights"));
        if (!counts || !points || !joints || !weights)
            continue;
        mesh.faces += counts->size();
        mesh.points += points->size();
        mesh.influences += joints->size();
        mesh.weightsValid = validWeights(*weights, *joints, points->size());
    }
    return mesh;
}

void expectSeenAsWritten(simdjson::dom::element report, const char* engine,
                         const WrittenMesh& written) {
    SCOPED_TRACE(engine);
    simdjson::dom::array meshes = report["engines"][engine]["meshes"].get_array();
    ASSERT_EQ(meshes.size(), 1u);
    const simdjson::dom::element mesh = meshes.at(0);
    EXPECT_EQ(number(mesh["faces"]), written.faces);
    EXPECT_EQ(number(mesh["points"]), written.points);
    simdjson::dom::object indices;
    ASSERT_EQ(mesh["skelBinding"]["jointIndices"].get(indices), simdjson::SUCCESS);
    EXPECT_EQ(number(indices["count"]), written.influences);
    EXPECT_EQ(number(indices["count"]), written.points * number(indices["elementSize"]));
}

TEST(BudgetOracle, AMillionTrianglesSimplifiedTo100000OpenInBothEngines) {
    const GridScene grid = skinnedGrid(1000, 500);
    ASSERT_EQ(grid.triangles, 1000000u);
    WriteOptions options;
    options.maxTriangles = 100000;
    const OpenedPackage opened = writeAndOpen(*grid.scene, "budget_grid_1m.usdz", options);
    ASSERT_TRUE(opened.written.succeeded) << opened.written.failure;
    // Nothing but the count reached: the self-check found nothing wrong.
    EXPECT_THAT(opened.written.notes,
                ElementsAre(StartsWith("The meshes were simplified from 1000000 to ")));
    const WrittenMesh written = writtenMesh(opened.package);
    EXPECT_LE(written.faces, 100000u);
    EXPECT_GE(written.faces, 90000u);
    EXPECT_TRUE(written.weightsValid);
    if (!opened.skipReason.empty())
        GTEST_SKIP() << opened.skipReason;
    ASSERT_EQ(opened.exitStatus, 0) << opened.complaint;
    simdjson::dom::parser parser;
    const simdjson::dom::element report = parser.parse(opened.report);
    expectSeenAsWritten(report, "openusd", written);
    expectSeenAsWritten(report, "tinyusdz", written);
}

} // namespace
} // namespace usd::test
