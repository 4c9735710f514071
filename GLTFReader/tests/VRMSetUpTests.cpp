#include "ShaderModifiers.h"
#include "support/VRMTestAvatar.h"
#include "vrm/VRMHost.h"

#include <SceneGraph/Geometry.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/MaterialContract.h>
#include <SceneGraph/Morpher.h>
#include <cmath>
#include <gtest/gtest.h>

using gltf::testing::VRMTestAvatar;

namespace {

const scene::ValueDictionary& tableOf(const scene::Node& rootNode, std::string_view key) {
    return *rootNode.value(key)->as<scene::ValueDictionary>();
}

std::shared_ptr<scene::Node> named(const scene::Scene& scene, std::string_view name) {
    return scene.rootNode()->childNodeWithName(name, true);
}

double weightAt(const scene::Node& rootNode, const std::string& keyPath) {
    return *rootNode.valueForKeyPath(keyPath).number();
}

} // namespace

TEST(VRMSetUp, MetaHasAllThirteenEntriesWithEmptyDefaults) {
    const auto scene = VRMTestAvatar{}.load();
    const auto& meta = *scene->value("VRMMeta")->as<scene::ValueDictionary>();
    EXPECT_EQ(meta.size(), 13u);
    EXPECT_EQ(meta.at("title"), scene::Value("Avatar"));
    EXPECT_EQ(meta.at("texture"), scene::Value(0));
    for (const char* key :
         {"author", "contactInformation", "reference", "version", "allowedUserName",
          "violentUssageName", "sexualUssageName", "commercialUssageName", "otherPermissionUrl",
          "licenseName", "otherLicenseUrl"}) {
        EXPECT_EQ(meta.at(key), scene::Value("")) << key;
    }
}

TEST(VRMSetUp, HumanoidMapUsesNamesWithoutDotsAndSkipsUnloadedBones) {
    VRMTestAvatar avatar;
    avatar.nodes = R"([{"name": "Armature", "children": [1, 2]}, {"name": "Hips.001"},
                       {"name": "Spine"}, {"name": "NotInTheScene"}])";
    avatar.humanBones = R"([{"bone": "hips", "node": 2, "useDefaultValues": true},
                            {"bone": "hips", "node": 1, "useDefaultValues": true},
                            {"bone": "spine", "node": 2, "useDefaultValues": true},
                            {"bone": "chest", "node": 3, "useDefaultValues": true},
                            {"bone": "neck", "node": -1, "useDefaultValues": true},
                            {"bone": "head", "node": 99, "useDefaultValues": true}])";
    const auto scene = avatar.load();
    const scene::Node& root = *scene->rootNode();
    EXPECT_EQ(tableOf(root, "VRMHumanoidBones"),
              (scene::ValueDictionary{{"hips", "Hips_001"}, {"spine", "Spine"}}));
    EXPECT_EQ(gltf::vrm::humanoidNode(root, "hips"), named(*scene, "Hips_001"));
    EXPECT_EQ(gltf::vrm::humanoidNode(root, "chest"), nullptr);
}

TEST(VRMSetUp, BlendShapeGroupsAreKeyedByPresetOrNameAndReachUniquelyNamedMeshes) {
    VRMTestAvatar avatar;
    avatar.nodes = R"([{"name": "Root", "children": [1, 2]}, {"name": "Body", "mesh": 0},
                       {"name": "Head", "mesh": 1}])";
    avatar.blendShapeGroups = R"([
        {"name": "Happy", "presetName": "joy", "materialValues": [],
         "binds": [{"mesh": 0, "index": 0, "weight": 100}, {"mesh": -1, "index": 0, "weight": 1},
                   {"mesh": 7, "index": 0, "weight": 1}]},
        {"name": "Smile", "presetName": "unknown", "materialValues": [],
         "binds": [{"mesh": 1, "index": 0, "weight": 50}]},
        {"name": "Wink", "presetName": "", "materialValues": [], "binds": []}])";
    const auto scene = avatar.load();
    const scene::Node& root = *scene->rootNode();

    // The mesh node shared the name of the node holding it; the face mesh's name was free.
    ASSERT_NE(named(*scene, "Body-1"), nullptr);
    EXPECT_EQ(named(*scene, "Body-1")->parentNode(), named(*scene, "Body"));
    EXPECT_EQ(named(*scene, "Face")->parentNode(), named(*scene, "Head"));
    EXPECT_EQ(
        tableOf(root, "VRMBlendShapes"),
        (scene::ValueDictionary{
            {"joy", scene::ValueDictionary{{"/Body-1.childNodes[0].morpher.weights[0]", 1.0},
                                           {"/Body-1.childNodes[1].morpher.weights[0]", 1.0}}},
            {"Smile", scene::ValueDictionary{{"/Face.childNodes[0].morpher.weights[0]", 0.5}}},
            {"Wink", scene::ValueDictionary{}}}));
}

TEST(VRMSetUp, UnnamedMeshesBoundByBlendShapesGetNamesOfTheirOwn) {
    VRMTestAvatar avatar;
    avatar.meshes = R"([{"primitives": [)" + VRMTestAvatar::primitive(0) +
                    R"(]}, {"primitives": [)" + VRMTestAvatar::primitive(0) + "]}]";
    avatar.nodes = R"([{"name": "Root", "children": [1, 2]}, {"name": "Left", "mesh": 0},
                       {"name": "Right", "mesh": 1}])";
    avatar.blendShapeGroups = R"([{"name": "Blink", "presetName": "blink",
        "binds": [{"mesh": 0, "index": 0, "weight": 100}, {"mesh": 1, "index": 0, "weight": 100}]}])";
    const auto scene = avatar.load();
    scene::Node& root = *scene->rootNode();
    EXPECT_EQ(named(*scene, "node")->parentNode(), named(*scene, "Left"));
    EXPECT_EQ(named(*scene, "node-1")->parentNode(), named(*scene, "Right"));

    // Both meshes move, not one of them twice.
    gltf::vrm::setBlendShape(root, "blink", 1.0);
    EXPECT_EQ(weightAt(root, "/node.childNodes[0].morpher.weights[0]"), 1.0);
    EXPECT_EQ(weightAt(root, "/node-1.childNodes[0].morpher.weights[0]"), 1.0);
}

TEST(VRMSetUp, SetBlendShapeScalesTheGroupWeightsAndIgnoresUnknownKeys) {
    VRMTestAvatar avatar;
    avatar.nodes = R"([{"name": "Root", "children": [1]}, {"name": "Head", "mesh": 1}])";
    avatar.blendShapeGroups = R"([{"name": "Joy", "presetName": "joy", "materialValues": [],
        "binds": [{"mesh": 1, "index": 0, "weight": 100}, {"mesh": 1, "index": 5, "weight": 100}]}])";
    const auto scene = avatar.load();
    scene::Node& root = *scene->rootNode();
    const std::string weight = "/Face.childNodes[0].morpher.weights[0]";

    gltf::vrm::setBlendShape(root, "sorrow", 0.5);
    EXPECT_EQ(weightAt(root, weight), 0.0);
    // Index 5 names a morph target the mesh does not have; the others are still set.
    gltf::vrm::setBlendShape(root, "joy", 0.5);
    EXPECT_EQ(weightAt(root, weight), 0.5);
}

TEST(VRMSetUp, MaterialSettingsSelectBlendingCullingDepthAndTheUnlitModifier) {
    VRMTestAvatar avatar;
    avatar.nodes = R"([{"name": "Root", "children": [1]}, {"name": "Body", "mesh": 0}])";
    avatar.materialProperties = R"([
        {"name": "Skin", "shader": "VRM/MToon", "renderQueue": 2450,
         "floatProperties": {"_BlendMode": 1, "_Cutoff": 0.5, "_CullMode": 2, "_ZWrite": 0},
         "vectorProperties": {"_Color": [0.5, 0.25, 1, 0.75, 9]}, "textureProperties": {},
         "keywordMap": {}, "tagMap": {}},
        {"name": "Hair", "shader": "VRM/MToon", "renderQueue": 3000,
         "floatProperties": {"_BlendMode": 3.7, "_ZWrite": 1e30},
         "vectorProperties": {"_Color": [0.5, 0.5, 0.5]}, "textureProperties": {},
         "keywordMap": {}, "tagMap": {}}])";
    const auto scene = avatar.load();
    const auto& primitives = named(*scene, "Body")->childNodes().front()->childNodes();
    ASSERT_EQ(primitives.size(), 2u);
    for (const auto& primitive : primitives) {
        EXPECT_EQ(primitive->geometry()->firstSource(scene::GeometrySemantic::color), nullptr);
        EXPECT_NE(primitive->geometry()->firstSource(scene::GeometrySemantic::vertex), nullptr);
    }

    const scene::Material& skin = *primitives[0]->geometry()->materials().front();
    EXPECT_EQ(primitives[0]->renderingOrder(), 2450);
    EXPECT_EQ(skin.blendMode, scene::BlendMode::replace);
    EXPECT_EQ(skin.cullMode, scene::CullMode::back);
    EXPECT_FALSE(skin.doubleSided);
    EXPECT_FALSE(skin.writesToDepthBuffer);
    EXPECT_EQ(skin.shaderModifiers,
              (std::map<scene::ShaderEntryPoint, std::string>{
                  {scene::ShaderEntryPoint::fragment,
                   std::string(gltf::shaderModifier(
                       "GLTFShaderModifierFragment_VRMUnlitTexture_Cutoff"))}}));
    EXPECT_EQ(scene::cutoutThreshold(skin), 0.5);
    // The shader's colour is gamma-encoded; the scene keeps it linear, alpha as it is.
    const glm::dvec4* skinColor = skin.namedValue("baseColor")->as<glm::dvec4>();
    ASSERT_NE(skinColor, nullptr);
    EXPECT_NEAR(skinColor->r, std::pow(0.5, 2.2), 1e-6);
    EXPECT_NEAR(skinColor->g, std::pow(0.25, 2.2), 1e-6);
    EXPECT_EQ(skinColor->b, 1.0);
    EXPECT_EQ(skinColor->a, 0.75);

    // 3.7 truncates to 3 (alpha); a depth setting beyond any integer counts as absent (on).
    const scene::Material& hair = *primitives[1]->geometry()->materials().front();
    EXPECT_EQ(primitives[1]->renderingOrder(), 3000);
    EXPECT_EQ(hair.blendMode, scene::BlendMode::alpha);
    EXPECT_EQ(hair.cullMode, scene::CullMode::front);
    EXPECT_TRUE(hair.doubleSided);
    EXPECT_TRUE(hair.writesToDepthBuffer);
    EXPECT_EQ(hair.shaderModifiers.at(scene::ShaderEntryPoint::fragment),
              gltf::shaderModifier("GLTFShaderModifierFragment_VRMUnlitTexture"));
    EXPECT_EQ(scene::cutoutThreshold(hair), std::nullopt);
    EXPECT_EQ(*hair.namedValue("baseColor"), scene::Value(glm::dvec4(1.0)));
}

// A material the avatar leaves to glTF stays the lit glTF material, vertex colours included.
TEST(VRMSetUp, MaterialsOnTheGltfShaderKeepTheirGltfMaterial) {
    VRMTestAvatar avatar;
    avatar.nodes = R"([{"name": "Root", "children": [1]}, {"name": "Body", "mesh": 0}])";
    avatar.materialProperties = R"([
        {"name": "Skin", "shader": "VRM_USE_GLTFSHADER", "renderQueue": 2000,
         "floatProperties": {"_BlendMode": 2}, "vectorProperties": {"_Color": [0.5, 0.5, 0.5, 1]},
         "textureProperties": {}, "keywordMap": {}, "tagMap": {}}])";
    const auto scene = avatar.load();
    const auto& primitive = named(*scene, "Body")->childNodes().front()->childNodes().front();
    EXPECT_NE(primitive->geometry()->firstSource(scene::GeometrySemantic::color), nullptr);
    const scene::Material& skin = *primitive->geometry()->materials().front();
    EXPECT_NE(skin.lightingModel, scene::LightingModel::constant);
    EXPECT_EQ(skin.blendMode, scene::BlendMode::replace);
    EXPECT_EQ(skin.namedValue("baseColor"), nullptr);
    EXPECT_FALSE(skin.shaderModifiers.contains(scene::ShaderEntryPoint::fragment));
    EXPECT_EQ(primitive->renderingOrder(), 2000);
}

TEST(VRMSetUp, DocumentsWithoutAnAvatarGetNoEntries) {
    const std::string plain = R"({"asset": {"version": "2.0"}, "scenes": [{"nodes": [0]}],
                                  "nodes": [{"name": "Hips.001"}]})";
    const auto scene = GLTFSceneSource(gltf::testing::blockOf(plain)).sceneWithOptions();
    EXPECT_EQ(scene->value("VRMMeta"), nullptr);
    EXPECT_TRUE(scene->rootNode()->values().empty());
    EXPECT_NE(named(*scene, "Hips.001"), nullptr);
}
