// A million-triangle skinned, morphing mesh simplified to 100,000 triangles: the package
// passes the writer's self-check and both independent USD readers open it and see the
// triangles, points and skin weights we wrote.

#include "GridScenes.h"
#include "WrittenPackageOracle.h"

#include <USD/CrateReader.h>
#include <USD/FieldNames.h>
#include <USD/PackageReader.h>
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

// The one mesh of the package as we wrote it: faces, points and joint influences.
struct WrittenMesh {
    std::uint64_t faces = 0, points = 0, influences = 0;
};

WrittenMesh writtenMesh(const std::filesystem::path& package) {
    const Layer layer = readCrate(PackageReader::open(package).rootLayer().bytes);
    WrittenMesh mesh;
    for (const auto& [path, spec] : layer.specs()) {
        const Value* value = spec.field(field::kDefault);
        if (!path.isPropertyPath() || !value)
            continue;
        if (path.name() == "faceVertexCounts")
            mesh.faces += value->get<Array<std::int32_t>>()->size();
        else if (path.name() == "points")
            mesh.points += value->get<Array<Vec3f>>()->size();
        else if (path.name() == "primvars:skel:jointIndices")
            mesh.influences += value->get<Array<std::int32_t>>()->size();
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
    EXPECT_THAT(opened.written.findings,
                ElementsAre(StartsWith("The meshes were simplified from 1000000 to ")));
    const WrittenMesh written = writtenMesh(opened.package);
    EXPECT_LE(written.faces, 100000u);
    EXPECT_GE(written.faces, 90000u);
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
