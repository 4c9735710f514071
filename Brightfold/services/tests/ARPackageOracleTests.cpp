// A representative dozen corpus files converted for AR Quick Look, their packages opened by an
// independent USD reader: the prim types, shader ids, connections, bindings, normal maps,
// stage metadata and package layout the viewer's rules ask for, seen by that reader rather
// than by our own checker.

#include "CorpusFiles.h"
#include "ManualMainQueue.h"
#include "OracleRun.h"

#include <Brightfold/ConversionWorkflow.h>
#include <Brightfold/SceneServices.h>
#include <gmock/gmock.h>
#include <set>
#include <simdjson.h>
#include <string>

namespace {

namespace fs = std::filesystem;
using simdjson::dom::element;

// Lights, lines, normal maps, texture transforms, skins, morph targets, cameras, an avatar,
// a layer and another tool's package to repair.
const std::vector<std::string> representativeFiles = {
    "gltf/blender-04_lights/04_lights.gltf",
    "gltf/validator-KHR_lights_punctual/valid.gltf",
    "gltf/Mesh_PrimitiveMode_01/Mesh_PrimitiveMode_01.gltf",
    "gltf/Mesh_PrimitiveMode_03/Mesh_PrimitiveMode_03.gltf",
    "gltf/SpecGlossVsMetalRough/SpecGlossVsMetalRough.gltf",
    "gltf/blender-09_texture_transform/09_texture_transform.gltf",
    "gltf/blender-03_skinned_cylinder/03_skinned_cylinder.gltf",
    "gltf/AnimatedMorphCube/AnimatedMorphCube.gltf",
    "gltf/Cameras/Cameras.gltf",
    "glb/chr_knight.glb",
    "vrm/simple_morph.vrm",
    "usd/skintest.usdc",
    "usd/cube_blender_usdz_plugin.usdz",
};

const std::set<std::string, std::less<>> allowedPrimTypes{
    "",           "Scope",  "Xform",    "Camera",   "Shader",        "Material",
    "Mesh",       "Sphere", "Cube",     "Cylinder", "Cone",          "Capsule",
    "GeomSubset", "Points", "SkelRoot", "Skeleton", "SkelAnimation", "BlendShape"};

std::string text(element value) {
    std::string_view view;
    return value.get(view) == simdjson::SUCCESS ? std::string(view) : "";
}

// The JSON at the end of the keys, as text; "" when any is missing.
std::string jsonAt(element value, std::initializer_list<const char*> keys) {
    for (const char* key : keys)
        if (value[key].get(value) != simdjson::SUCCESS)
            return "";
    return simdjson::to_string(value);
}

bool hasSuffix(const std::string& name, std::initializer_list<std::string_view> suffixes) {
    return std::ranges::any_of(suffixes, [&](std::string_view s) { return name.ends_with(s); });
}

void expectPackageLayout(element package) {
    EXPECT_TRUE(package["ok"].get_bool().value()) << simdjson::to_string(package["problems"]);
    simdjson::dom::array entries = package["entries"].get_array();
    ASSERT_GT(entries.size(), 0u);
    EXPECT_TRUE(text((*entries.begin())["name"]).ends_with(".usdc")) << "the root layer first";
    for (element entry : entries) {
        const std::string name = text(entry["name"]);
        EXPECT_EQ(text(entry["compression"]), "stored") << name;
        EXPECT_TRUE(entry["aligned64"].get_bool().value()) << name;
        EXPECT_TRUE(hasSuffix(name, {".usdc", ".png", ".jpg", ".jpeg"})) << name;
    }
}

void expectStageMetadata(element engine, const std::set<std::string>& primPaths) {
    element layer = engine["layer"];
    EXPECT_EQ(text(layer["upAxis"]), "Y");
    EXPECT_FALSE(layer["metersPerUnit"].is_null());
    const std::string defaultPrim = text(layer["defaultPrim"]);
    EXPECT_FALSE(defaultPrim.empty());
    EXPECT_TRUE(primPaths.contains("/" + defaultPrim)) << defaultPrim;
}

// Every prim's type is one the viewer knows; bound meshes apply the binding API.
std::set<std::string> expectPrims(element engine) {
    std::set<std::string> paths, bindingAPI;
    for (element prim : engine["prims"].get_array()) {
        const std::string path = text(prim["path"]);
        paths.insert(path);
        EXPECT_TRUE(allowedPrimTypes.contains(text(prim["type"])))
            << path << " is a " << text(prim["type"]);
        if (jsonAt(prim, {"apiSchemas"}).find("MaterialBindingAPI") != std::string::npos)
            bindingAPI.insert(path);
    }
    for (element mesh : engine["meshes"].get_array()) {
        if (const std::string bound = jsonAt(mesh, {"materialBinding"});
            !bound.empty() && bound != "null") {
            EXPECT_TRUE(bindingAPI.contains(text(mesh["path"]))) << text(mesh["path"]);
        }
    }
    return paths;
}

// Shader ids; every connection has one source on an existing shader; normal maps are raw,
// scaled by 2 and biased by -1.
void expectShaders(element engine) {
    std::map<std::string, element> shaders;
    for (element shader : engine["shaders"].get_array())
        shaders.emplace(text(shader["path"]), shader);
    for (const auto& [path, shader] : shaders) {
        const std::string id = text(shader["id"]);
        EXPECT_TRUE(id == "UsdPreviewSurface" || id == "UsdUVTexture" || id == "UsdTransform2d" ||
                    id.starts_with("UsdPrimvarReader_"))
            << path << ": " << id;
        for (auto [name, input] : shader["inputs"].get_object()) {
            element connect;
            if (input["connect"].get(connect) != simdjson::SUCCESS)
                continue;
            simdjson::dom::array sources = connect.get_array();
            ASSERT_EQ(sources.size(), 1u) << path << "." << name;
            const std::string source = text(*sources.begin());
            const std::string sourcePrim = source.substr(0, source.find(".outputs:"));
            ASSERT_TRUE(shaders.contains(sourcePrim)) << path << "." << name << " <- " << source;
            if (id != "UsdPreviewSurface" || name != "normal")
                continue;
            element texture = shaders.at(sourcePrim)["inputs"];
            EXPECT_EQ(jsonAt(texture, {"scale", "value"}), "[2,2,2,1]") << sourcePrim;
            EXPECT_EQ(jsonAt(texture, {"bias", "value"}), "[-1,-1,-1,0]") << sourcePrim;
            EXPECT_EQ(jsonAt(texture, {"sourceColorSpace", "value"}), "\"raw\"") << sourcePrim;
        }
    }
}

class ARPackageOracle : public testing::TestWithParam<std::string> {
  protected:
    std::shared_ptr<brightfold::ConversionServices> services_ = brightfold::makeSceneServices();
    ManualMainQueue queue_;
    brightfold::ConversionWorkflow workflow_{services_, queue_.poster()};
};

TEST_P(ARPackageOracle, TheViewersRulesHoldAsAnotherReaderSeesThePackage) {
    const fs::path source = brightfold::testing::corpus / GetParam();
    if (!fs::exists(source))
        GTEST_SKIP() << "not in ../shared: " << source;
    if (!fs::exists(usd::test::oracleProgram()))
        GTEST_SKIP() << "usd-oracle not found: " << usd::test::oracleProgram();
    workflow_.startConversion(source);
    workflow_.waitForBackgroundWork();
    queue_.drain();
    const auto* preview = std::get_if<brightfold::Preview>(&workflow_.state());
    ASSERT_NE(preview, nullptr) << "the conversion did not reach the preview";
    EXPECT_THAT(preview->verdict.broken, testing::IsEmpty()) << "our own checker agrees";

    const usd::test::OracleRun run =
        usd::test::runOracle(preview->tempURL, usd::test::OracleEngines::openUsdOnly);
    if (const auto missing = usd::test::oracleUnavailable(run))
        GTEST_SKIP() << "usd-oracle cannot run here: " << *missing;
    ASSERT_EQ(run.exitStatus, 0) << run.complaint;
    simdjson::dom::parser parser;
    const element report = parser.parse(run.report);
    const element engine = report["engines"]["openusd"];
    expectPackageLayout(report["package"]);
    expectStageMetadata(engine, expectPrims(engine));
    expectShaders(engine);
    workflow_.discardPreview(preview->tempURL);
}

INSTANTIATE_TEST_SUITE_P(Corpus, ARPackageOracle, testing::ValuesIn(representativeFiles),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = fs::path(info.param).stem().string();
                             std::erase_if(name, [](unsigned char c) { return !std::isalnum(c); });
                             return name;
                         });

} // namespace
