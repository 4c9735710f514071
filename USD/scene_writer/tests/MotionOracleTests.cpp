// Packages of skinned, morphing and animated models, opened by two independent USD readers:
// both must open them without error and see the skeletons, skin weights, blend shapes and time
// samples we wrote.

#include "SceneBuilding.h"
#include "StaticCorpus.h"
#include "WrittenPackageOracle.h"

#include <GLTFReader/GLTFSceneSource.h>
#include <USD/layer/FieldNames.h>
#include <map>
#include <simdjson.h>

namespace usd::test {
namespace {

struct Sampled {
    std::uint64_t samples = 0;
    double first = 0, last = 0;
};

struct SkinnedMesh {
    std::uint64_t count = 0, elementSize = 0;
};

// What the layer holds that moves, in the oracle's terms.
struct MotionExpectation {
    std::map<std::string, std::vector<std::string>> skeletons; // path → joint tokens
    std::map<std::string, std::uint64_t> animations;           // path → joint count
    std::map<std::string, SkinnedMesh> skinned;                // mesh path → joint indices
    std::uint64_t blendShapes = 0;
    std::map<std::string, Sampled> sampled; // attribute path → its samples
};

std::vector<std::string> tokenTexts(const Value* value) {
    std::vector<std::string> texts;
    if (const auto* tokens = value ? value->get<Array<Token>>() : nullptr)
        for (const Token& token : *tokens)
            texts.push_back(token.text);
    return texts;
}

const Value* defaultOf(const Layer& layer, const Path& attribute) {
    const Spec* spec = layer.spec(attribute);
    return spec ? spec->field(field::kDefault) : nullptr;
}

void expectPrim(const Layer& layer, const Path& path, MotionExpectation& expected) {
    const std::string type = typeOf(layer, path.text());
    if (type == "Skeleton")
        expected.skeletons[path.text()] =
            tokenTexts(defaultOf(layer, path.appendProperty("joints")));
    if (type == "SkelAnimation")
        expected.animations[path.text()] =
            tokenTexts(defaultOf(layer, path.appendProperty("joints"))).size();
    expected.blendShapes += type == "BlendShape" ? 1 : 0;
    const Path indices = path.appendProperty("primvars:skel:jointIndices");
    if (const Value* value = defaultOf(layer, indices)) {
        const Value* size = metadataOf(layer, indices.text(), "elementSize");
        expected.skinned[path.text()] = {value->get<Array<std::int32_t>>()->size(),
                                         static_cast<std::uint64_t>(*size->get<std::int32_t>())};
    }
}

MotionExpectation expectationFor(const Layer& layer) {
    MotionExpectation expected;
    for (const auto& [path, spec] : layer.specs()) {
        if (spec.type == SpecType::Prim)
            expectPrim(layer, path, expected);
        const Value* samples = spec.field(field::kTimeSamples);
        if (const auto* held = samples ? samples->get<TimeSamples>() : nullptr)
            expected.sampled[path.text()] = {held->times.size(), held->times.front(),
                                             held->times.back()};
    }
    return expected;
}

std::uint64_t number(simdjson::dom::element element) {
    std::uint64_t value = 0;
    return element.get(value) == simdjson::SUCCESS ? value : ~std::uint64_t{0};
}

// Any JSON number (the DOM widens integers); -1 for anything else.
double real(simdjson::dom::element element) {
    double value = -1;
    return element.get_double().get(value) == simdjson::SUCCESS ? value : -1;
}

std::string text(simdjson::dom::element element) {
    std::string_view value;
    return element.get(value) == simdjson::SUCCESS ? std::string(value) : std::string();
}

void checkSkeletons(simdjson::dom::element seen, const MotionExpectation& expected) {
    EXPECT_EQ(number(seen["counts"]["skeletons"]), expected.skeletons.size());
    for (simdjson::dom::object skeleton : seen["skeletons"].get_array()) {
        const auto wanted = expected.skeletons.find(text(skeleton["path"]));
        ASSERT_NE(wanted, expected.skeletons.end()) << text(skeleton["path"]);
        std::vector<std::string> names;
        for (simdjson::dom::element name : skeleton["jointNames"].get_array())
            names.push_back(text(name));
        // The oracle lists only the first joints of a large skeleton, and says so.
        bool truncated = false;
        const bool shortened =
            skeleton["jointNamesTruncated"].get(truncated) == simdjson::SUCCESS && truncated;
        const std::vector<std::string> listed(
            wanted->second.begin(),
            wanted->second.begin() + static_cast<std::ptrdiff_t>(
                                         shortened ? std::min(names.size(), wanted->second.size())
                                                   : wanted->second.size()));
        EXPECT_EQ(names, listed) << "joints in order";
        EXPECT_EQ(number(skeleton["joints"]), wanted->second.size());
        EXPECT_EQ(number(skeleton["bindTransforms"]), wanted->second.size());
        EXPECT_EQ(number(skeleton["restTransforms"]), wanted->second.size());
    }
    EXPECT_EQ(number(seen["counts"]["skelAnimations"]), expected.animations.size());
    for (simdjson::dom::object animation : seen["skelAnimations"].get_array()) {
        const auto wanted = expected.animations.find(text(animation["path"]));
        ASSERT_NE(wanted, expected.animations.end()) << text(animation["path"]);
        EXPECT_EQ(number(animation["joints"]), wanted->second);
    }
}

void checkSkinnedMeshes(simdjson::dom::element seen, const MotionExpectation& expected) {
    std::size_t skinned = 0;
    for (simdjson::dom::object mesh : seen["meshes"].get_array()) {
        simdjson::dom::object binding;
        simdjson::dom::object indices;
        if (mesh["skelBinding"].get(binding) != simdjson::SUCCESS ||
            binding["jointIndices"].get(indices) != simdjson::SUCCESS)
            continue;
        ++skinned;
        const auto wanted = expected.skinned.find(text(mesh["path"]));
        ASSERT_NE(wanted, expected.skinned.end()) << text(mesh["path"]);
        EXPECT_EQ(number(indices["count"]), wanted->second.count);
        EXPECT_EQ(number(indices["elementSize"]), wanted->second.elementSize);
        EXPECT_EQ(number(binding["jointWeights"]["elementSize"]), wanted->second.elementSize);
    }
    EXPECT_EQ(skinned, expected.skinned.size());
}

void checkTimeSamples(simdjson::dom::element seen, const MotionExpectation& expected) {
    EXPECT_EQ(number(seen["counts"]["blendShapes"]), expected.blendShapes);
    EXPECT_EQ(number(seen["counts"]["timeSampledAttributes"]), expected.sampled.size());
    for (simdjson::dom::object sampled : seen["timeSampled"].get_array()) {
        const auto wanted = expected.sampled.find(text(sampled["attribute"]));
        ASSERT_NE(wanted, expected.sampled.end()) << text(sampled["attribute"]);
        EXPECT_EQ(number(sampled["samples"]), wanted->second.samples) << wanted->first;
        EXPECT_EQ(real(sampled["firstTime"]), wanted->second.first) << wanted->first;
        EXPECT_EQ(real(sampled["lastTime"]), wanted->second.last) << wanted->first;
    }
}

void checkEngine(simdjson::dom::element report, const char* engine, const Layer& layer) {
    SCOPED_TRACE(engine);
    const simdjson::dom::element seen = report["engines"][engine];
    const MotionExpectation expected = expectationFor(layer);
    checkSkeletons(seen, expected);
    checkSkinnedMeshes(seen, expected);
    checkTimeSamples(seen, expected);
    if (!expected.sampled.empty()) {
        const Value* end = layer.pseudoRoot()->field("endTimeCode");
        EXPECT_EQ(real(seen["layer"]["endTimeCode"]), *end->get<double>());
        EXPECT_EQ(real(seen["layer"]["timeCodesPerSecond"]), 120.0);
    }
}

class MotionOracle : public ::testing::TestWithParam<CorpusModel> {};

TEST_P(MotionOracle, BothEnginesSeeTheSkeletonsBlendShapesAndTimeSamples) {
    std::shared_ptr<scene::Scene> scene;
    try {
        scene = GLTFSceneSource(GetParam().file).sceneWithOptions();
    } catch (const std::exception& error) {
        GTEST_SKIP() << "the glTF reader refuses this model: " << error.what();
    }
    const OpenedPackage opened = writeAndOpen(*scene, "moving_" + GetParam().name + ".usdz");
    ASSERT_TRUE(opened.written.succeeded) << opened.written.failure;
    // Clips that move what an earlier clip moves are left out by design, and say so.
    for (const std::string& finding : opened.written.notes) {
        if (!finding.starts_with("The AR viewer plays one timeline")) {
            EXPECT_EQ(finding.find("left out"), std::string::npos) << finding;
        }
    }
    if (!opened.skipReason.empty())
        GTEST_SKIP() << opened.skipReason;
    ASSERT_EQ(opened.exitStatus, 0) << opened.complaint;
    simdjson::dom::parser parser;
    const simdjson::dom::element report = parser.parse(opened.report);
    const Layer layer = buildSceneLayer(*scene, opened.package.stem().string()).layer;
    checkEngine(report, "openusd", layer);
    checkEngine(report, "tinyusdz", layer);
}

INSTANTIATE_TEST_SUITE_P(MovingCorpus, MotionOracle, ::testing::ValuesIn(movingCorpusModels()),
                         [](const auto& info) { return info.param.name; });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(MotionOracle);

} // namespace
} // namespace usd::test
