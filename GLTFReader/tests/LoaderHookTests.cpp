#include "ShaderModifiers.h"
#include "support/GLTFTestDocument.h"
#include "support/TestImages.h"
#include "support/TestUnarchiver.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using gltf::testing::failureOf;
using gltf::testing::unarchiverWithImage;
using scene::ShaderEntryPoint;
using testing::ElementsAre;
using testing::Pair;

namespace {

// A caller's extension that notes the kind of every object its post-load hook receives.
struct ObservingExtension : GLTFExtensionValue {
    static inline std::vector<std::string> observed;

    static ObservingExtension decode(const gltf::JsonObject&) { return {}; }

    void onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver&) const override {
        observed.push_back(kindOf(object));
    }

    static std::string kindOf(const GLTFLoadedObject& object) {
        if (std::any_cast<gltf::ByteSlice>(&object)) {
            return "bytes";
        }
        if (std::any_cast<std::shared_ptr<scene::Material>>(&object)) {
            return "material";
        }
        if (std::any_cast<std::shared_ptr<scene::MaterialProperty>>(&object)) {
            return "texture";
        }
        if (std::any_cast<std::shared_ptr<scene::Image>>(&object)) {
            return "image";
        }
        if (std::any_cast<std::shared_ptr<scene::Node>>(&object)) {
            return "node";
        }
        if (std::any_cast<std::shared_ptr<scene::Scene>>(&object)) {
            return "scene";
        }
        if (std::any_cast<std::shared_ptr<scene::Camera>>(&object)) {
            return "camera";
        }
        return "other";
    }
};

std::shared_ptr<scene::Material> onlyMaterial(const std::string& material,
                                              const GLTFExtensionRegistry& callerRegistry = {}) {
    return unarchiverWithImage(R"("materials": [)" + material + "]", R"([{"source": 0}])",
                               callerRegistry)
        .loadMaterial(0);
}

std::string shaderText(const char* name) {
    return std::string(gltf::shaderModifier(name));
}

const scene::Color opaqueBlack{0, 0, 0, 1};

} // namespace

TEST(LoaderHooks, EveryLoaderRunsTheHooksOfItsRecord) {
    ObservingExtension::observed.clear();
    const GLTFExtensionRegistry observer{
        {"EXT_observer", GLTFExtensionType::of<ObservingExtension>()}};
    GLTFUnarchiver unarchiver =
        unarchiverWithImage(R"(
        "extensions": {}, "scenes": [{"nodes": [0], "extensions": {}}],
        "nodes": [{"camera": 0, "extensions": {}}],
        "cameras": [{"type": "orthographic", "extensions": {},
                     "orthographic": {"xmag": 1, "ymag": 1, "znear": 0, "zfar": 1}}],
        "materials": [{"pbrMetallicRoughness": {"baseColorTexture": {"index": 0}},
                       "extensions": {}}])",
                            R"([{"source": 0, "extensions": {}}])", observer);
    unarchiver.loadMaterial(0);
    unarchiver.loadScene(0);
    EXPECT_THAT(ObservingExtension::observed,
                ElementsAre("texture", "material", "camera", "node", "scene", "scene"));
}

TEST(MaterialsCommon, PhongReplacesTheCoreShading) {
    const auto material = onlyMaterial(R"({"name": "core", "doubleSided": true, "extensions": {
        "KHR_materials_common": {"technique": "PHONG", "values": {}}}})");
    EXPECT_EQ(material->lightingModel, scene::LightingModel::phong);
    for (const auto* slot : {&material->ambient(), &material->diffuse(), &material->emission(),
                             &material->specular()}) {
        EXPECT_EQ(*slot->color(), opaqueBlack);
    }
    EXPECT_EQ(material->shininess, 0);
    EXPECT_FALSE(material->doubleSided);
    EXPECT_EQ(material->name, "");

    const auto transparent = onlyMaterial(R"({"extensions": {"KHR_materials_common": {
        "technique": "PHONG", "transparent": true, "name": "glass",
        "values": {"diffuse": [1, 0, 0, 1], "specuar": [0, 0, 1, 1], "shininess": [8]}}}})");
    EXPECT_EQ(transparent->transparency, 1.0);
    EXPECT_EQ(*transparent->diffuse().color(), (scene::Color{1, 0, 0, 1}));
    EXPECT_EQ(*transparent->specular().color(), (scene::Color{0, 0, 1, 1}));
    EXPECT_EQ(transparent->shininess, 8);
    EXPECT_EQ(transparent->name, "glass");
}

TEST(MaterialsCommon, OtherTechniquesKeepTheCoreShadingButNotItsSidednessOrName) {
    const auto material = onlyMaterial(R"({"name": "core", "doubleSided": true,
        "pbrMetallicRoughness": {"baseColorFactor": [0, 1, 0, 1]}, "extensions": {
        "KHR_materials_common": {"technique": "phong", "transparency": [0.5],
                                 "values": {"diffuse": [1, 0, 0, 1], "transparency": [0.5]}}}})");
    EXPECT_EQ(material->lightingModel, scene::LightingModel::physicallyBased);
    EXPECT_EQ(*material->diffuse().color(), (scene::Color{0, 1, 0, 1}));
    EXPECT_EQ(material->transparency, 1.0);
    EXPECT_FALSE(material->doubleSided);
    EXPECT_EQ(material->name, "");
}

TEST(MaterialsCommon, AMalformedValueIsLeftOutWithAWarningAndTheRestApplied) {
    const gltf::testing::CapturedConsoleLines console;
    GLTFUnarchiver unarchiver = unarchiverWithImage(R"("materials": [{"extensions": {
        "KHR_materials_common": {"technique": "PHONG", "values": {"diffuse": [0],
            "emission": [0, 0, 1, 1], "shininess": []}}}}])");
    const auto material = unarchiver.loadMaterial(0);
    EXPECT_EQ(material->lightingModel, scene::LightingModel::phong);
    // The core material's white diffuse and shininess stay.
    EXPECT_EQ(*material->diffuse().color(), scene::Color::white(1.0));
    EXPECT_EQ(material->shininess, 1.0);
    EXPECT_EQ(*material->emission().color(), (scene::Color{0, 0, 1, 1}));
    EXPECT_THAT(
        unarchiver.notes(),
        ElementsAre("loadMaterial: KHR_materials_common diffuse is left out: DataInconsistent: "
                    "loadMaterial: KHR_materials_common diffuse needs 4 numbers, has 1",
                    "loadMaterial: KHR_materials_common shininess is left out: DataInconsistent: "
                    "loadMaterial: KHR_materials_common shininess needs 1 numbers, has 0"));
    EXPECT_EQ(console.lines().size(), 2u);
}

TEST(SpecularGlossiness, WithoutTexturesTheFactorsAreColours) {
    const auto material = onlyMaterial(R"({"alphaMode": "MASK", "extensions": {
        "KHR_materials_pbrSpecularGlossiness": {"diffuseFactor": [0.5, 0.5, 0.5, 1],
                                                "glossinessFactor": 0.25}}})");
    EXPECT_EQ(material->lightingModel, scene::LightingModel::physicallyBased);
    EXPECT_EQ(*material->diffuse().color(), (scene::Color{0.5, 0.5, 0.5, 1}));
    EXPECT_EQ(*material->specular().color(), (scene::Color{1, 1, 1, 0.25}));
    for (const char* key :
         {"diffuseFactorR", "diffuseFactorA", "specularFactorB", "glossinessFactor"}) {
        EXPECT_EQ(material->namedValue(key)->number(), 1.0) << key;
    }
    EXPECT_THAT(material->shaderModifiers,
                ElementsAre(Pair(ShaderEntryPoint::surface,
                                 shaderText("GLTFShaderModifierSurface_pbrSpecularGlossiness"))));
}

TEST(SpecularGlossiness, TexturesCarryTheFactorsAsNamedValues) {
    const auto diffuseOnly = onlyMaterial(R"({"extensions": {
        "KHR_materials_pbrSpecularGlossiness": {"diffuseTexture": {"index": 0}}}})");
    EXPECT_NE(diffuseOnly->diffuse().image(), nullptr);
    EXPECT_EQ(diffuseOnly->namedValue("diffuseFactorG")->number(), 1.0);
    EXPECT_EQ(diffuseOnly->shaderModifiers.at(ShaderEntryPoint::surface),
              shaderText("GLTFShaderModifierSurface_pbrSpecularGlossiness"));

    const auto packed = onlyMaterial(R"({"extensions": {"KHR_materials_pbrSpecularGlossiness": {
        "specularFactor": [0.5, 0.25, 0.125], "glossinessFactor": 0.25,
        "specularGlossinessTexture": {"index": 0, "texCoord": 1}}}})");
    EXPECT_NE(packed->multiply().image(), nullptr);
    EXPECT_EQ(packed->multiply().mappingChannel, 1);
    EXPECT_EQ(packed->namedValue("specularFactorG")->number(), 0.25);
    EXPECT_EQ(packed->namedValue("glossinessFactor")->number(), 0.25);
    EXPECT_EQ(packed->shaderModifiers.at(ShaderEntryPoint::surface),
              shaderText("GLTFShaderModifierSurface_pbrSpecularGlossiness_texture_"
                         "doubleSidedWorkaround"));
}

TEST(SpecularGlossiness, ATextureThatCannotBeLoadedIsLeftOutForTheFactors) {
    const gltf::testing::CapturedConsoleLines console;
    GLTFUnarchiver unarchiver = unarchiverWithImage(R"("materials": [{"extensions": {
        "KHR_materials_pbrSpecularGlossiness": {"diffuseFactor": [0.5, 0.5, 0.5, 1],
            "diffuseTexture": {"index": 7}, "specularGlossinessTexture": {"index": 0}}}}])");
    const auto material = unarchiver.loadMaterial(0);
    EXPECT_EQ(*material->diffuse().color(), (scene::Color{0.5, 0.5, 0.5, 1}));
    EXPECT_EQ(material->namedValue("diffuseFactorR")->number(), 1.0);
    EXPECT_NE(material->multiply().image(), nullptr);
    ASSERT_EQ(unarchiver.notes().size(), 1u);
    EXPECT_THAT(unarchiver.notes()[0],
                testing::StartsWith("loadMaterial: KHR_materials_pbrSpecularGlossiness "
                                    "diffuseTexture is left out: DataInconsistent: loadTexture"));
}

TEST(MaterialExtensions, ACallerRegistryCanTakeOverABuiltInHook) {
    ObservingExtension::observed.clear();
    const GLTFExtensionRegistry replacement{
        {"KHR_materials_common", GLTFExtensionType::of<ObservingExtension>()}};
    const auto material = onlyMaterial(R"({"extensions": {"KHR_materials_common": {
        "technique": "PHONG", "values": {}}}})",
                                       replacement);
    EXPECT_NE(material->lightingModel, scene::LightingModel::phong);
    EXPECT_THAT(ObservingExtension::observed, ElementsAre("material"));

    // On anything but a material the built-in hooks do nothing.
    GLTFUnarchiver nodeWithMaterialExtension = gltf::testing::unarchiverOf(R"(
        "nodes": [{"extensions": {"KHR_materials_common": {"technique": "PHONG", "values": {}},
                                  "KHR_materials_pbrSpecularGlossiness": {}}}])");
    EXPECT_EQ(failureOf([&] { nodeWithMaterialExtension.loadNode(0); }), "");
}
