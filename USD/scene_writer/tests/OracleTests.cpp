// Packages written from built scenes and from real glTF files, opened by two independent USD
// readers: both must open them without error and see the meshes, materials and textures we
// wrote.

#include "SceneBuilding.h"
#include "StaticCorpus.h"
#include "WrittenPackageOracle.h"

#include <GLTFReader/GLTFSceneSource.h>
#include <USD/layer/FieldNames.h>
#include <filesystem>
#include <functional>
#include <map>
#include <simdjson.h>

namespace usd::test {
namespace {

struct WrittenMesh {
    std::uint64_t points = 0, faces = 0, faceVertexIndices = 0;
};

// What the layer says, in the oracle's terms.
struct Expectation {
    std::map<std::string, WrittenMesh> meshes;
    std::uint64_t materials = 0;
    std::uint64_t textures = 0;
};

template <typename T> std::uint64_t lengthAt(const Layer& layer, const Path& attribute) {
    const Spec* spec = layer.spec(attribute);
    const Value* value = spec ? spec->field(field::kDefault) : nullptr;
    return value && value->get<Array<T>>() ? value->get<Array<T>>()->size() : 0;
}

Expectation expectationFor(const Layer& layer) {
    Expectation expected;
    for (const auto& [path, spec] : layer.specs()) {
        const std::string type = spec.type == SpecType::Prim ? typeOf(layer, path.text()) : "";
        if (type == "Mesh")
            expected.meshes[path.text()] = {
                lengthAt<Vec3f>(layer, path.appendProperty("points")),
                lengthAt<std::int32_t>(layer, path.appendProperty("faceVertexCounts")),
                lengthAt<std::int32_t>(layer, path.appendProperty("faceVertexIndices"))};
        expected.materials += type == "Material" ? 1 : 0;
        const Value* value = spec.field(field::kDefault);
        expected.textures += value && value->holds<AssetPath>() ? 1 : 0;
    }
    return expected;
}

std::uint64_t number(simdjson::dom::element element) {
    std::uint64_t value = 0;
    return element.get(value) == simdjson::SUCCESS ? value : ~std::uint64_t{0};
}

void checkEngine(simdjson::dom::element report, const char* engine, const Expectation& expected) {
    SCOPED_TRACE(engine);
    const simdjson::dom::element seen = report["engines"][engine];
    EXPECT_EQ(number(seen["counts"]["meshes"]), expected.meshes.size());
    EXPECT_EQ(number(seen["counts"]["materials"]), expected.materials);
    EXPECT_EQ(number(seen["counts"]["textures"]), expected.textures);
    for (simdjson::dom::object mesh : seen["meshes"].get_array()) {
        std::string_view path;
        ASSERT_EQ(mesh["path"].get(path), simdjson::SUCCESS);
        const auto wanted = expected.meshes.find(std::string(path));
        ASSERT_NE(wanted, expected.meshes.end()) << path;
        EXPECT_EQ(number(mesh["points"]), wanted->second.points) << path;
        EXPECT_EQ(number(mesh["faces"]), wanted->second.faces) << path;
        EXPECT_EQ(number(mesh["faceVertexIndices"]), wanted->second.faceVertexIndices) << path;
    }
}

// The composing engine resolves asset paths, so it can say whether each texture is inside.
void checkTexturesInPackage(simdjson::dom::element report) {
    for (simdjson::dom::object texture : report["engines"]["openusd"]["textures"].get_array()) {
        bool inside = false;
        EXPECT_EQ(texture["inPackage"].get(inside), simdjson::SUCCESS);
        EXPECT_TRUE(inside) << simdjson::to_string(texture);
    }
}

struct OracleCase {
    std::string name;
    std::function<std::shared_ptr<scene::Scene>()> scene; // null when the file is missing
    WriteOptions options = {};
};

void PrintTo(const OracleCase& oracleCase, std::ostream* out) {
    *out << oracleCase.name;
}

std::shared_ptr<scene::Scene> everySlotScene() {
    auto material = pbrMaterial();
    material->blendMode = scene::BlendMode::alpha;
    for (const scene::MaterialSlot slot :
         {scene::MaterialSlot::diffuse, scene::MaterialSlot::metalness,
          scene::MaterialSlot::roughness, scene::MaterialSlot::normal,
          scene::MaterialSlot::ambientOcclusion, scene::MaterialSlot::emission})
        material->property(slot).contents = pngImage({200, 150, 100, 200});
    material->doubleSided = true;
    auto geometry = quadGeometry(
        {floatSource(scene::GeometrySemantic::texcoord, {{0, 0}, {1, 0}, {1, 1}, {0, 1}})});
    geometry->setMaterials({material});
    return sceneWithGeometry(geometry, "Every slot");
}

std::shared_ptr<scene::Scene> pointsLinesAndSubsets() {
    const std::vector<std::vector<float>> points{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    auto subsets =
        scene::Geometry::create({floatSource(scene::GeometrySemantic::vertex, points)},
                                {elementOf({0, 1, 2}, scene::PrimitiveType::triangles, 1),
                                 elementOf({0, 2, 3}, scene::PrimitiveType::triangles, 1)});
    subsets->setMaterials({pbrMaterial("A"), pbrMaterial("B")});
    auto scene = sceneWithGeometry(subsets, "Subsets");
    for (const auto type : {scene::PrimitiveType::point, scene::PrimitiveType::line}) {
        auto node = scene::Node::create(std::string(scene::primitiveTypeName(type)));
        node->setGeometry(geometryWith(points, {0, 1, 2, 3}, type));
        scene->rootNode()->addChildNode(node);
    }
    return scene;
}

// The model as the glTF reader loads it; null when it refuses it.
OracleCase corpusCase(const CorpusModel& model) {
    return {model.name, [file = model.file]() -> std::shared_ptr<scene::Scene> {
                try {
                    return GLTFSceneSource(file).sceneWithOptions();
                } catch (const std::exception&) {
                    return nullptr;
                }
            }};
}

// The corpus's instanced teapots, each teapot node keeping its first instances only: all 1899
// are more than the engines hold.
std::shared_ptr<scene::Scene> fewInstancedTeapots() {
    const auto file = std::filesystem::path(BRIGHTFOLD_SHARED_DIR) /
                      "corpus/gltf/blender-24_gpu_instancing/24_gpu_instancing.gltf";
    if (!std::filesystem::exists(file))
        return nullptr;
    auto scene = GLTFSceneSource(file).sceneWithOptions();
    std::vector<std::shared_ptr<scene::Node>> pending{scene->rootNode()};
    while (!pending.empty()) {
        const std::shared_ptr<scene::Node> node = pending.back();
        pending.pop_back();
        const std::vector<std::shared_ptr<scene::Node>> children = node->childNodes();
        for (std::size_t i = 0; i < children.size(); ++i) {
            if (i >= 5 && children[i]->name().starts_with("instance_"))
                children[i]->removeFromParentNode();
            else
                pending.push_back(children[i]);
        }
    }
    return scene;
}

std::vector<OracleCase> oracleCases() {
    std::vector<OracleCase> cases{
        {"EverySlot", everySlotScene},
        // Lines reach only packages for USD tools.
        {"PointsLinesAndSubsets", pointsLinesAndSubsets, usdToolsOptions()},
        {"FewInstancedTeapots", fewInstancedTeapots}};
    for (const CorpusModel& model : staticCorpusModels())
        cases.push_back(corpusCase(model));
    return cases;
}

class SceneWriterOracle : public ::testing::TestWithParam<OracleCase> {};

// Both engines are WebAssembly builds that turn the whole stage into text: a few million points
// (the corpus's 1899 instanced teapots make 4.2 million) exhaust their memory.
constexpr std::uint64_t kPointsTheEnginesCanHold = 2'000'000;

std::uint64_t pointsOf(const Expectation& expected) {
    std::uint64_t points = 0;
    for (const auto& [path, mesh] : expected.meshes)
        points += mesh.points;
    return points;
}

TEST_P(SceneWriterOracle, BothEnginesOpenThePackageAndSeeWhatWeWrote) {
    const auto scene = GetParam().scene();
    if (!scene)
        GTEST_SKIP() << "the glTF reader refuses this model, or ../shared is missing";
    const std::string fileName = "scene_" + GetParam().name;
    const Expectation expected =
        expectationFor(buildSceneLayer(*scene, fileName, {}, GetParam().options).layer);
    if (pointsOf(expected) > kPointsTheEnginesCanHold)
        GTEST_SKIP() << pointsOf(expected) << " points are more than the oracle's engines hold";
    const OpenedPackage opened = writeAndOpen(*scene, fileName + ".usdz", GetParam().options);
    ASSERT_TRUE(opened.written.succeeded) << opened.written.failure;
    if (!opened.skipReason.empty())
        GTEST_SKIP() << opened.skipReason;
    ASSERT_EQ(opened.exitStatus, 0) << opened.complaint;
    simdjson::dom::parser parser;
    const simdjson::dom::element report = parser.parse(opened.report);
    checkEngine(report, "openusd", expected);
    checkEngine(report, "tinyusdz", expected);
    checkTexturesInPackage(report);
}

INSTANTIATE_TEST_SUITE_P(WrittenScenes, SceneWriterOracle, ::testing::ValuesIn(oracleCases()),
                         [](const auto& info) { return info.param.name; });

} // namespace
} // namespace usd::test
