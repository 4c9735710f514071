// Texture transforms, unlit surfaces, emission strength, clear coat, index of refraction and
// the material extensions a package cannot show, on small documents of their own.
#include "CorpusFiles.h"
#include "support/TestImages.h"
#include "support/TestUnarchiver.h"

#include <GLTFReader/GLTFSceneSource.h>
#include <GLTFReader/GLTFUnarchiver.h>
#include <SceneGraph/Geometry.h>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <webp/encode.h>

using gltf::testing::failureOf;
using gltf::testing::unarchiverWithImage;

namespace {

std::shared_ptr<scene::Material> onlyMaterial(const std::string& material,
                                              const std::string& rootMembers = "") {
    std::string members = R"("materials": [)" + material + "]";
    if (!rootMembers.empty()) {
        members += ", " + rootMembers;
    }
    return unarchiverWithImage(members).loadMaterial(0);
}

double numberOf(const scene::Material& material, const char* key) {
    const scene::Value* value = material.namedValue(key);
    return value != nullptr ? value->number().value_or(-99) : -99;
}

glm::dvec2 moved(const scene::MaterialProperty& slot, double u, double v) {
    const glm::dvec4 uv = slot.contentsTransform * glm::dvec4(u, v, 0, 1);
    return {uv.x, uv.y};
}

void expectNear(glm::dvec2 actual, glm::dvec2 expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-6);
    EXPECT_NEAR(actual.y, expected.y, 1e-6);
}

} // namespace

TEST(TextureTransform, ScalesRotatesThenOffsetsTheCoordinatesOfEverySlot) {
    const auto material = onlyMaterial(R"({
        "pbrMetallicRoughness": {"baseColorTexture": {"index": 0, "extensions": {
            "KHR_texture_transform": {"offset": [0.5, 0.25], "rotation": 1.5707963267948966,
                                      "scale": [2, 3], "texCoord": 1}}}},
        "normalTexture": {"index": 0, "texCoord": 1, "extensions": {
            "KHR_texture_transform": {"offset": [0, 1], "scale": [0.5, 0.5]}}},
        "emissiveTexture": {"index": 0}})");
    // A quarter turn counter-clockwise (v points down): u turns towards −v, v towards +u.
    const scene::MaterialProperty& base = material->diffuse();
    expectNear(moved(base, 0, 0), {0.5, 0.25});
    expectNear(moved(base, 1, 0), {0.5, -1.75});
    expectNear(moved(base, 0, 1), {3.5, 0.25});
    EXPECT_EQ(base.mappingChannel, 1);

    const scene::MaterialProperty& normal = material->normal();
    expectNear(moved(normal, 1, 1), {0.5, 1.5});
    EXPECT_EQ(normal.mappingChannel, 1); // the reference's own set, no override
    EXPECT_EQ(material->emission().contentsTransform, scene::Matrix4(1.0));
}

TEST(TextureTransform, RefusesNumbersItCannotUse) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"offset": [0.5, 0.25, 1]})",
         "DataInconsistent: loadMaterial: KHR_texture_transform offset has 3 numbers instead "
         "of 2"},
        {R"({"scale": [2]})",
         "DataInconsistent: loadMaterial: KHR_texture_transform scale has 1 numbers instead of "
         "2"},
        {R"({"texCoord": -1})", "DataInconsistent: loadMaterial: texCoord -1 is out of range"},
    };
    for (const auto& [transform, failure] : cases) {
        const std::string material = R"({"emissiveTexture": {"index": 0, "extensions": {
            "KHR_texture_transform": )" +
                                     std::string(transform) + "}}}";
        EXPECT_EQ(failureOf([&] { onlyMaterial(material); }), failure) << transform;
    }
    // JSON has no NaN; a number beyond a float's range is its only infinity.
    EXPECT_NE(failureOf([] {
                  onlyMaterial(R"({"emissiveTexture": {"index": 0, "extensions": {
                      "KHR_texture_transform": {"rotation": 1e39}}}})");
              }).find("does not fit in Float"),
              std::string::npos);
}

TEST(MaterialExtensions, UnlitSurfacesUseTheConstantModelAndKeepTheirBaseColour) {
    const auto material = onlyMaterial(R"({"pbrMetallicRoughness": {
        "baseColorFactor": [0.2, 0.4, 0.6, 1]}, "extensions": {"KHR_materials_unlit": {}}})");
    EXPECT_EQ(material->lightingModel, scene::LightingModel::constant);
    ASSERT_TRUE(material->diffuse().color());
    EXPECT_FLOAT_EQ(static_cast<float>(material->diffuse().color()->green), 0.4f);
}

TEST(MaterialExtensions, EmissiveStrengthMultipliesTheEmissiveFactor) {
    const auto material = onlyMaterial(R"({"emissiveFactor": [1, 0.5, 0.25], "extensions": {
        "KHR_materials_emissive_strength": {"emissiveStrength": 4}}})");
    EXPECT_FLOAT_EQ(numberOf(*material, "emissiveFactorR"), 4);
    EXPECT_FLOAT_EQ(numberOf(*material, "emissiveFactorG"), 2);
    EXPECT_FLOAT_EQ(numberOf(*material, "emissiveFactorB"), 1);
    EXPECT_EQ(failureOf([] {
                  onlyMaterial(R"({"extensions": {
                      "KHR_materials_emissive_strength": {"emissiveStrength": -1}}})");
              }),
              "DataInconsistent: loadMaterial: KHR_materials_emissive_strength -1.000000 is "
              "negative");
}

TEST(MaterialExtensions, ClearcoatAndIorBecomeNamedValues) {
    const auto material = onlyMaterial(R"({"extensions": {
        "KHR_materials_ior": {"ior": 1.33},
        "KHR_materials_clearcoat": {"clearcoatFactor": 0.75, "clearcoatRoughnessFactor": 0.25,
                                    "clearcoatTexture": {"index": 0}}}})");
    EXPECT_FLOAT_EQ(numberOf(*material, "ior"), 1.33f);
    EXPECT_FLOAT_EQ(numberOf(*material, "clearcoatFactor"), 0.75);
    EXPECT_FLOAT_EQ(numberOf(*material, "clearcoatRoughnessFactor"), 0.25);
    EXPECT_EQ(*material->namedValue("leftOutFeatures")->as<std::string>(),
              "the textures of KHR_materials_clearcoat");

    const auto defaults = onlyMaterial(R"({"extensions": {"KHR_materials_ior": {}}})");
    EXPECT_FLOAT_EQ(numberOf(*defaults, "ior"), 1.5);
    EXPECT_EQ(numberOf(*defaults, "clearcoatFactor"), -99);

    EXPECT_EQ(
        failureOf([] { onlyMaterial(R"({"extensions": {"KHR_materials_ior": {"ior": 0.5}}})"); }),
        "DataInconsistent: loadMaterial: KHR_materials_ior 0.500000 is neither 0 nor 1 or "
        "more");
    EXPECT_EQ(failureOf([] {
                  onlyMaterial(R"({"extensions": {
                      "KHR_materials_clearcoat": {"clearcoatFactor": 2}}})");
              }),
              "DataInconsistent: loadMaterial: KHR_materials_clearcoat clearcoatFactor 2.000000 "
              "is not in [0, 1]");
}

TEST(MaterialExtensions, EffectsWithoutInputsAreNotedNotRefused) {
    const auto material = onlyMaterial(
        R"({"extensions": {"KHR_materials_sheen": {"sheenColorFactor": [1, 0, 0]},
                           "KHR_materials_transmission": {"transmissionFactor": 1}}})",
        R"("extensionsUsed": ["KHR_materials_sheen", "KHR_materials_transmission"],
           "extensionsRequired": ["KHR_materials_sheen"])");
    EXPECT_EQ(*material->namedValue("leftOutFeatures")->as<std::string>(),
              "KHR_materials_sheen, KHR_materials_transmission");
}

TEST(TextureImages, WebpImagesArePackagedAsPng) {
    // Two pixels, red and half-transparent blue, losslessly coded.
    const std::uint8_t pixels[] = {255, 0, 0, 255, 0, 0, 255, 128};
    std::uint8_t* encoded = nullptr;
    const std::size_t size = WebPEncodeLosslessRGBA(pixels, 2, 1, 8, &encoded);
    ASSERT_GT(size, 0u);
    const std::vector<std::uint8_t> webp(encoded, encoded + size);
    WebPFree(encoded);
    GLTFUnarchiver unarchiver = gltf::testing::unarchiverOf(
        R"("images": [{"uri": ")" + gltf::testing::dataUri(gltf::testing::onePixelPng()) +
        R"("}, {"uri": ")" + gltf::testing::dataUri(webp, "image/webp") + R"("}],
           "textures": [{"source": 0, "extensions": {"EXT_texture_webp": {"source": 1}}}],
           "extensionsUsed": ["EXT_texture_webp"], "extensionsRequired": ["EXT_texture_webp"])");
    const auto texture = unarchiver.loadTexture(0);
    const std::shared_ptr<scene::Image> image = texture->image();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->format(), scene::ImageFormat::png);
    const scene::RGBA8Pixels decoded = image->decodeRGBA8();
    EXPECT_EQ(decoded.pixels, std::vector<std::uint8_t>(std::begin(pixels), std::end(pixels)));
}

TEST(TextureImages, DamagedWebpAndKtx2ImagesAreRefusedByName) {
    const std::vector<std::uint8_t> damaged = {'R', 'I', 'F', 'F', 20,  0,   0, 0, 'W', 'E',
                                               'B', 'P', 'V', 'P', '8', 'L', 1, 2, 3};
    const std::vector<std::uint8_t> ktx2 = {0xAB, 'K',  'T',  'X',  ' ',  '2', '0',
                                            0xBB, '\r', '\n', 0x1A, '\n', 0,   0};
    for (const auto& [bytes, failure] :
         {std::pair{damaged, "NotSupported: loadImage: image 0 (EXT_texture_webp) is damaged "
                             "WebP data"},
          std::pair{ktx2, "NotSupported: loadImage: image 0 is a KTX2 texture "
                          "(KHR_texture_basisu), which cannot be decoded here"}}) {
        GLTFUnarchiver unarchiver = gltf::testing::unarchiverOf(
            R"("images": [{"uri": ")" + gltf::testing::dataUri(bytes) + R"("}])");
        EXPECT_EQ(failureOf([&] { unarchiver.loadImage(0); }), failure);
    }
}

TEST(MaterialExtensionCorpus, TextureTransformAndUnlitSamplesLoad) {
    if (brightfold::testing::corpusMissing()) {
        GTEST_SKIP() << "../shared not found: " << brightfold::testing::corpus;
    }
    const gltf::testing::CapturedConsoleLines quiet;
    const auto scene = GLTFSceneSource(brightfold::testing::corpus /
                                       "gltf/TextureTransformTest/TextureTransformTest.gltf")
                           .sceneWithOptions();
    std::size_t transformed = 0;
    scene->rootNode()->enumerateHierarchy([&](const scene::Node& node) {
        if (node.geometry()) {
            for (const auto& material : node.geometry()->materials()) {
                transformed += material->diffuse().contentsTransform != scene::Matrix4(1.0);
            }
        }
    });
    EXPECT_GE(transformed, 6u);
    EXPECT_NO_THROW(GLTFSceneSource(brightfold::testing::corpus /
                                    "gltf/blender-09_texture_transform/09_texture_transform.gltf")
                        .sceneWithOptions());
}
