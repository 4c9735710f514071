// Draco- and meshopt-compressed corpus models convert to packages whose meshes both engines of
// the oracle see as they see the same model stored plainly: the same point and face counts, and
// the same bounds in world space within what quantizing the positions moves them.

#include "CorpusFiles.h"
#include "OracleRun.h"
#include "WrittenPackageOracle.h"

#include <GLTFReader/GLTFSceneSource.h>
#include <USD/layer/FieldNames.h>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>
#include <simdjson.h>

namespace usd::test {
namespace {

const std::filesystem::path& corpus = brightfold::testing::corpus;

struct MeshFacts {
    std::uint64_t points = 0;
    std::uint64_t faces = 0;
    glm::dvec3 low{std::numeric_limits<double>::max()};
    glm::dvec3 high{std::numeric_limits<double>::lowest()};
};

const Value* defaultOf(const Layer& layer, const Path& attribute) {
    const Spec* spec = layer.spec(attribute);
    return spec ? spec->field(field::kDefault) : nullptr;
}

// One transform op as our writer authors them, for column vectors.
glm::dmat4 opMatrix(const Value& value) {
    if (const auto* matrix = value.get<Matrix4d>())
        return glm::make_mat4(matrix->rowMajor.data()); // USD's rows are glm's columns
    if (const auto* move = value.get<Vec3d>())
        return glm::translate(glm::dmat4(1.0), glm::dvec3((*move)[0], (*move)[1], (*move)[2]));
    if (const auto* turn = value.get<Quatf>())
        return glm::mat4_cast(
            glm::dquat(turn->real, turn->imaginary[0], turn->imaginary[1], turn->imaginary[2]));
    if (const auto* scale = value.get<Vec3f>())
        return glm::scale(glm::dmat4(1.0), glm::dvec3((*scale)[0], (*scale)[1], (*scale)[2]));
    ADD_FAILURE() << "a transform op of an unexpected type";
    return glm::dmat4(1.0);
}

// The prim's transform in world space, from the ops of it and its ancestors.
glm::dmat4 worldTransform(const Layer& layer, const Path& prim) {
    glm::dmat4 world(1.0);
    for (Path p = prim; !p.isAbsoluteRoot(); p = p.parent()) {
        glm::dmat4 local(1.0);
        if (const Value* order = defaultOf(layer, p.appendProperty("xformOpOrder")))
            for (const Token& op : *order->get<Array<Token>>())
                if (const Value* value = defaultOf(layer, p.appendProperty(op.text)))
                    local = local * opMatrix(*value);
        world = local * world;
    }
    return world;
}

std::uint64_t number(simdjson::dom::element element) {
    std::uint64_t value = 0;
    return element.get(value) == simdjson::SUCCESS ? value : ~std::uint64_t{0};
}

// The corners of the mesh's extent as the engine reports it, moved into world space.
void addExtent(MeshFacts& facts, simdjson::dom::element extent, const glm::dmat4& world) {
    simdjson::dom::array corners;
    ASSERT_EQ(extent.get(corners), simdjson::SUCCESS) << "no extent";
    std::vector<glm::dvec3> box;
    for (const simdjson::dom::element corner : corners)
        box.emplace_back(corner.at(0).get_double().value(), corner.at(1).get_double().value(),
                         corner.at(2).get_double().value());
    ASSERT_EQ(box.size(), 2u);
    for (int i = 0; i < 8; ++i) {
        const glm::dvec3 local(box[i & 1].x, box[i >> 1 & 1].y, box[i >> 2 & 1].z);
        const glm::dvec3 moved(world * glm::dvec4(local, 1.0));
        facts.low = glm::min(facts.low, moved);
        facts.high = glm::max(facts.high, moved);
    }
}

MeshFacts factsSeenBy(simdjson::dom::element report, const char* engine, const Layer& layer) {
    MeshFacts facts;
    for (simdjson::dom::object mesh : report["engines"][engine]["meshes"].get_array()) {
        std::string_view path;
        EXPECT_EQ(mesh["path"].get(path), simdjson::SUCCESS);
        facts.points += number(mesh["points"]);
        facts.faces += number(mesh["faces"]);
        EXPECT_TRUE(layer.hasSpec(Path::fromString(path))) << path << " is not what we wrote";
        addExtent(facts, mesh["extent"], worldTransform(layer, Path::fromString(path)));
    }
    return facts;
}

struct Seen {
    std::string skipReason;
    MeshFacts openusd, tinyusdz;
};

Seen convertAndOpen(const std::string& model) {
    const auto scene = GLTFSceneSource(corpus / model).sceneWithOptions();
    const std::string name = std::filesystem::path(model).stem().string();
    const OpenedPackage opened = writeAndOpen(*scene, "compressed_" + name + ".usdz");
    EXPECT_TRUE(opened.written.succeeded) << opened.written.failure;
    if (!opened.skipReason.empty())
        return {opened.skipReason, {}, {}};
    EXPECT_EQ(opened.exitStatus, 0) << model << ": " << opened.complaint;
    simdjson::dom::parser parser;
    const simdjson::dom::element report = parser.parse(opened.report);
    const Layer layer = buildSceneLayer(*scene, opened.package.stem().string()).layer;
    return {"", factsSeenBy(report, "openusd", layer), factsSeenBy(report, "tinyusdz", layer)};
}

void expectSameMesh(const MeshFacts& compressed, const MeshFacts& plain, double tolerance) {
    EXPECT_EQ(compressed.points, plain.points);
    EXPECT_EQ(compressed.faces, plain.faces);
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_NEAR(compressed.low[axis], plain.low[axis], tolerance) << "axis " << axis;
        EXPECT_NEAR(compressed.high[axis], plain.high[axis], tolerance) << "axis " << axis;
    }
}

struct CompressedPair {
    std::string compressed;
    std::string plain;
    double tolerance; // world units the quantized positions may move
};

class CompressedMeshOracle : public ::testing::TestWithParam<CompressedPair> {};

TEST_P(CompressedMeshOracle, BothEnginesSeeTheMeshOfTheUncompressedModel) {
    const CompressedPair& pair = GetParam();
    if (!std::filesystem::exists(corpus / pair.compressed) ||
        !std::filesystem::exists(corpus / pair.plain))
        GTEST_SKIP() << "../shared not found: " << corpus;
    const Seen compressed = convertAndOpen(pair.compressed);
    if (!compressed.skipReason.empty())
        GTEST_SKIP() << compressed.skipReason;
    const Seen plain = convertAndOpen(pair.plain);
    {
        SCOPED_TRACE("openusd");
        expectSameMesh(compressed.openusd, plain.openusd, pair.tolerance);
    }
    {
        SCOPED_TRACE("tinyusdz");
        expectSameMesh(compressed.tinyusdz, plain.tinyusdz, pair.tolerance);
    }
}

// The glTF-Transform test boxes are the Khronos box that BoxTextured also holds.
INSTANTIATE_TEST_SUITE_P(
    CorpusPairs, CompressedMeshOracle,
    ::testing::Values(CompressedPair{"gltf/BoxDraco/BoxDraco.gltf",
                                     "gltf/BoxTextured/BoxTextured.gltf", 1e-3},
                      CompressedPair{"gltf/BoxMeshopt/BoxMeshopt.gltf",
                                     "gltf/BoxTextured/BoxTextured.gltf", 1e-3}),
    [](const auto& info) { return std::filesystem::path(info.param.compressed).stem().string(); });

} // namespace
} // namespace usd::test
