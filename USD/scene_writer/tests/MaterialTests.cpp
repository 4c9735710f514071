// How materials become UsdPreviewSurface networks: colours and factors, textures with their
// factors as scale, the packed metal/roughness node, normal and occlusion maps, emission,
// other lighting models, and the three alpha modes.

#include "SceneBuilding.h"

#include <SceneGraph/Value.h>
#include <gmock/gmock.h>
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

namespace usd::test {
namespace {

using scene::MaterialProperty;
using scene::MaterialSlot;

const std::string surface = "/Root/Materials/Surface/PreviewSurface";
const std::string material = "/Root/Materials/Surface";

// The layer of a textured quad drawn with `m`.
SceneLayer writeWith(const std::shared_ptr<scene::Material>& m) {
    auto geometry = quadGeometry(
        {floatSource(scene::GeometrySemantic::texcoord, {{0, 0}, {1, 0}, {1, 1}, {0, 1}})});
    geometry->setMaterials({m});
    return buildSceneLayer(*sceneWithGeometry(geometry));
}

MaterialProperty textured(std::shared_ptr<scene::Image> image) {
    MaterialProperty slot = MaterialProperty::withContents(std::move(image));
    slot.wrapS = scene::WrapMode::repeat;
    slot.wrapT = scene::WrapMode::mirror;
    return slot;
}

void setFactors(scene::Material& m, const std::string& prefix, std::array<double, 4> values) {
    const char* suffixes[] = {"R", "G", "B", "A"};
    for (int i = 0; i < 4; ++i)
        m.setNamedValue(prefix + suffixes[i], values[i]);
}

TEST(SceneWriterMaterials, FactorOnlyMaterialIsConstantInputs) {
    auto m = pbrMaterial();
    m->diffuse().contents = scene::Color{0.5, 0.2, 0.1, 1};
    m->metalness().contents = scene::Color::white(0.3);
    m->roughness().contents = scene::Color::white(0.7);
    setFactors(*m, "baseColorFactor", {1, 1, 1, 1});
    const Layer layer = writeWith(m).layer;
    EXPECT_EQ(sourceOf(layer, "/Root/Shape.material:binding"), material);
    EXPECT_EQ(sourceOf(layer, material + ".outputs:surface"), surface + ".outputs:surface");
    EXPECT_EQ(valueAt<Token>(layer, surface + ".info:id").text, "UsdPreviewSurface");
    EXPECT_EQ(valueAt<Vec3f>(layer, surface + ".inputs:diffuseColor"), (Vec3f{0.5f, 0.2f, 0.1f}));
    EXPECT_FLOAT_EQ(valueAt<float>(layer, surface + ".inputs:metallic"), 0.3f);
    EXPECT_FLOAT_EQ(valueAt<float>(layer, surface + ".inputs:roughness"), 0.7f);
    EXPECT_FALSE(hasSpec(layer, surface + ".inputs:opacity"));
}

TEST(SceneWriterMaterials, TextureCarriesItsFactorsAsScaleAndKeepsTheOriginalBytes) {
    auto image = pngImage({200, 100, 50, 255});
    for (const bool withFactor : {false, true}) {
        SCOPED_TRACE(withFactor);
        auto m = pbrMaterial();
        m->diffuse() = textured(image);
        setFactors(*m, "baseColorFactor",
                   withFactor ? std::array{0.5, 0.25, 1.0, 0.8} : std::array{1.0, 1.0, 1.0, 1.0});
        const SceneLayer built = writeWith(m);
        const Layer& layer = built.layer;
        const std::string node = material + "/diffuseTexture";
        EXPECT_EQ(sourceOf(layer, surface + ".inputs:diffuseColor"), node + ".outputs:rgb");
        EXPECT_EQ(valueAt<AssetPath>(layer, node + ".inputs:file").path, "./textures/picture.png");
        EXPECT_EQ(valueAt<Token>(layer, node + ".inputs:sourceColorSpace").text, "sRGB");
        EXPECT_EQ(valueAt<Token>(layer, node + ".inputs:wrapS").text, "repeat");
        EXPECT_EQ(valueAt<Token>(layer, node + ".inputs:wrapT").text, "mirror");
        EXPECT_EQ(sourceOf(layer, node + ".inputs:st"), material + "/uvReader_st.outputs:result");
        EXPECT_EQ(valueAt<std::string>(layer, material + "/uvReader_st.inputs:varname"), "st");
        EXPECT_EQ(hasSpec(layer, node + ".inputs:scale"), withFactor);
        if (withFactor) {
            EXPECT_EQ(valueAt<Vec4f>(layer, node + ".inputs:scale"), (Vec4f{0.5f, 0.25f, 1, 0.8f}));
        }
        ASSERT_EQ(built.files.size(), 1u);
        EXPECT_EQ(*built.files[0].bytes, *image->encodedBytes());
    }
}

TEST(SceneWriterMaterials, MetalAndRoughnessFromOneImageShareOnePackedNode) {
    auto image = pngImage({0, 128, 255, 255}, 2, 2, "orm.png");
    auto m = pbrMaterial();
    m->metalness() = textured(image);
    m->metalness().textureComponents = scene::ColorComponents::blue;
    m->roughness() = textured(image);
    m->roughness().textureComponents = scene::ColorComponents::green;
    m->setNamedValue("metallicFactor", 0.5);
    m->setNamedValue("roughnessFactor", 0.25);
    const Layer layer = writeWith(m).layer;
    const std::string node = material + "/metallicRoughnessTexture";
    EXPECT_EQ(sourceOf(layer, surface + ".inputs:metallic"), node + ".outputs:b");
    EXPECT_EQ(sourceOf(layer, surface + ".inputs:roughness"), node + ".outputs:g");
    EXPECT_EQ(valueAt<Vec4f>(layer, node + ".inputs:scale"), (Vec4f{1, 0.25f, 0.5f, 1}));
    EXPECT_EQ(valueAt<Token>(layer, node + ".inputs:sourceColorSpace").text, "raw");
}

TEST(SceneWriterMaterials, NormalMapIsReadRawAndMovedToMinusOneToOne) {
    auto m = pbrMaterial();
    m->normal() = textured(pngImage({128, 128, 255}));
    const Layer layer = writeWith(m).layer;
    const std::string node = material + "/normalTexture";
    EXPECT_EQ(sourceOf(layer, surface + ".inputs:normal"), node + ".outputs:rgb");
    EXPECT_EQ(valueAt<Vec4f>(layer, node + ".inputs:scale"), (Vec4f{2, 2, 2, 1}));
    EXPECT_EQ(valueAt<Vec4f>(layer, node + ".inputs:bias"), (Vec4f{-1, -1, -1, 0}));
    EXPECT_EQ(valueAt<Vec4f>(layer, node + ".inputs:fallback"), (Vec4f{0.5f, 0.5f, 1, 1}));
    EXPECT_EQ(valueAt<Token>(layer, node + ".inputs:sourceColorSpace").text, "raw");
}

// The grey level of the first pixel of a packaged PNG.
int firstGrey(const PackagedFile& file) {
    int width = 0, height = 0, channels = 0;
    unsigned char* pixels = stbi_load_from_memory(
        file.bytes->data(), static_cast<int>(file.bytes->size()), &width, &height, &channels, 1);
    const int grey = pixels ? pixels[0] : -1;
    stbi_image_free(pixels);
    return grey;
}

TEST(SceneWriterMaterials, OcclusionStrengthIsBakedAndBlackOcclusionDropped) {
    auto m = pbrMaterial();
    m->ambientOcclusion() = textured(pngImage({102, 0, 0}, 2, 2, "ao.png")); // 0.4
    m->ambientOcclusion().intensity = 0.5;
    const SceneLayer built = writeWith(m);
    const std::string node = material + "/occlusionTexture";
    EXPECT_EQ(sourceOf(built.layer, surface + ".inputs:occlusion"), node + ".outputs:r");
    EXPECT_EQ(valueAt<AssetPath>(built.layer, node + ".inputs:file").path,
              "./textures/ao_occlusion.png");
    ASSERT_EQ(built.files.size(), 1u);
    EXPECT_NEAR(firstGrey(built.files[0]), 0.7 * 255, 1.0); // 1 + 0.5 × (0.4 − 1)

    m->ambientOcclusion() = textured(pngImage({0, 0, 0}));
    const SceneLayer black = writeWith(m);
    EXPECT_FALSE(hasSpec(black.layer, surface + ".inputs:occlusion"));
    EXPECT_TRUE(black.files.empty());
}

TEST(SceneWriterMaterials, EmissiveFactorWithoutTextureIsKept) {
    auto m = pbrMaterial();
    setFactors(*m, "emissiveFactor", {1, 0.5, 0, 1});
    EXPECT_EQ(valueAt<Vec3f>(writeWith(m).layer, surface + ".inputs:emissiveColor"),
              (Vec3f{1, 0.5f, 0}));
    m->emission() = textured(pngImage({255, 255, 255}));
    const Layer layer = writeWith(m).layer;
    EXPECT_EQ(sourceOf(layer, surface + ".inputs:emissiveColor"),
              material + "/emissiveTexture.outputs:rgb");
    EXPECT_EQ(valueAt<Vec4f>(layer, material + "/emissiveTexture.inputs:scale"),
              (Vec4f{1, 0.5f, 0, 1}));
}

TEST(SceneWriterMaterials, UnlitMaterialEmitsItsBaseColour) {
    auto m = pbrMaterial();
    m->lightingModel = scene::LightingModel::constant;
    m->diffuse().contents = scene::Color{0.2, 0.4, 0.6, 1};
    const Layer layer = writeWith(m).layer;
    EXPECT_EQ(valueAt<Vec3f>(layer, surface + ".inputs:diffuseColor"), (Vec3f{0, 0, 0}));
    EXPECT_EQ(valueAt<Vec3f>(layer, surface + ".inputs:emissiveColor"), (Vec3f{0.2f, 0.4f, 0.6f}));
    EXPECT_FLOAT_EQ(valueAt<float>(layer, surface + ".inputs:roughness"), 1.0f);
    // Without reflections: the specular workflow with a black specular colour.
    EXPECT_EQ(valueAt<std::int32_t>(layer, surface + ".inputs:useSpecularWorkflow"), 1);
    EXPECT_EQ(valueAt<Vec3f>(layer, surface + ".inputs:specularColor"), (Vec3f{0, 0, 0}));
}

TEST(SceneWriterMaterials, ClearcoatAndIorReachTheirInputsAndLeftOutFeaturesAreTold) {
    auto m = pbrMaterial();
    m->setNamedValue("clearcoatFactor", 0.75);
    m->setNamedValue("clearcoatRoughnessFactor", 0.25);
    m->setNamedValue("ior", 1.33);
    m->setNamedValue("leftOutFeatures", std::string("KHR_materials_sheen"));
    const SceneLayer written = writeWith(m);
    EXPECT_FLOAT_EQ(valueAt<float>(written.layer, surface + ".inputs:clearcoat"), 0.75f);
    EXPECT_FLOAT_EQ(valueAt<float>(written.layer, surface + ".inputs:clearcoatRoughness"), 0.25f);
    EXPECT_FLOAT_EQ(valueAt<float>(written.layer, surface + ".inputs:ior"), 1.33f);
    EXPECT_THAT(written.notes,
                testing::Contains("Material \"Surface\" is shown without KHR_materials_sheen, "
                                  "which a preview surface cannot express."));
    EXPECT_FALSE(hasSpec(writeWith(pbrMaterial()).layer, surface + ".inputs:ior"));
}

TEST(SceneWriterMaterials, PhongShininessBecomesRoughness) {
    auto m = pbrMaterial();
    m->lightingModel = scene::LightingModel::phong;
    m->shininess = 30;
    const Layer layer = writeWith(m).layer;
    EXPECT_NEAR(valueAt<float>(layer, surface + ".inputs:roughness"), std::pow(2.0 / 32, 0.25),
                1e-6);
    EXPECT_FLOAT_EQ(valueAt<float>(layer, surface + ".inputs:metallic"), 0.0f);
}

TEST(SceneWriterMaterials, SpecularGlossinessBakesRoughnessFromTheGlossinessAlpha) {
    auto m = pbrMaterial();
    m->setNamedValue("glossinessFactor", 0.5);
    m->multiply() = textured(pngImage({0, 0, 0, 255}, 2, 2, "specgloss.png"));
    const SceneLayer built = writeWith(m);
    EXPECT_EQ(sourceOf(built.layer, surface + ".inputs:roughness"),
              material + "/roughnessTexture.outputs:r");
    ASSERT_EQ(built.files.size(), 1u);
    EXPECT_EQ(built.files[0].name, "textures/specgloss_roughness.png");
    EXPECT_NEAR(firstGrey(built.files[0]), 128, 1); // 1 − 0.5 × 1

    auto untextured = pbrMaterial();
    untextured->setNamedValue("glossinessFactor", 1.0);
    untextured->specular().contents = scene::Color{1, 1, 1, 0.25};
    EXPECT_FLOAT_EQ(valueAt<float>(writeWith(untextured).layer, surface + ".inputs:roughness"),
                    0.75f);
}

std::shared_ptr<scene::Image> encodedImage(const std::vector<std::uint8_t>& rgba, int width,
                                           int height) {
    std::vector<std::uint8_t> png;
    stbi_write_png_to_func(
        [](void* out, void* data, int size) {
            const auto* bytes = static_cast<const std::uint8_t*>(data);
            static_cast<std::vector<std::uint8_t>*>(out)->insert(
                static_cast<std::vector<std::uint8_t>*>(out)->end(), bytes, bytes + size);
        },
        &png, width, height, 4, rgba.data(), width * 4);
    auto image = scene::Image::fromEncodedBytes(scene::makeBytes(std::move(png)));
    image->setName("gloss.png");
    return image;
}

// Odd sizes and many rows: every baked pixel is the map of its own source pixel.
TEST(SceneWriterMaterials, BakesMapEveryPixelOfTheImage) {
    const int width = 67, height = 9;
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width * height * 4));
    for (std::size_t p = 0; p < rgba.size() / 4; ++p) {
        rgba[p * 4] = static_cast<std::uint8_t>(p * 7);
        rgba[p * 4 + 3] = static_cast<std::uint8_t>(p * 13 + p / 67);
    }
    auto m = pbrMaterial();
    m->setNamedValue("glossinessFactor", 0.5);
    m->multiply() = textured(encodedImage(rgba, width, height));
    const SceneLayer built = writeWith(m);
    ASSERT_EQ(built.files.size(), 1u);
    int w = 0, h = 0, channels = 0;
    unsigned char* grey =
        stbi_load_from_memory(built.files[0].bytes->data(),
                              static_cast<int>(built.files[0].bytes->size()), &w, &h, &channels, 0);
    ASSERT_NE(grey, nullptr);
    EXPECT_EQ(std::tuple(w, h, channels), std::tuple(width, height, 1));
    int wrong = 0;
    for (std::size_t p = 0; p < rgba.size() / 4; ++p)
        wrong += grey[p] != std::lround((1 - 0.5 * rgba[p * 4 + 3] / 255.0) * 255);
    stbi_image_free(grey);
    EXPECT_EQ(wrong, 0);
}

TEST(SceneWriterMaterials, AnImageThatCannotBeDecodedLeavesTheBakedSlotEmptyAndSaysSo) {
    auto image = pngImage({0, 0, 0, 255}, 64, 64, "specgloss.png");
    std::vector<std::uint8_t> bytes(image->encodedBytes()->data(),
                                    image->encodedBytes()->data() + image->encodedBytes()->size());
    std::fill(bytes.begin() + 43, bytes.begin() + 48, 0xFF); // a deflate block of no known type
    auto damaged = scene::Image::fromEncodedBytes(scene::makeBytes(std::move(bytes)));
    ASSERT_NE(damaged, nullptr);
    auto m = pbrMaterial();
    m->setNamedValue("glossinessFactor", 0.5);
    m->multiply() = textured(damaged);
    const SceneLayer built = writeWith(m);
    EXPECT_FALSE(hasSpec(built.layer, material + "/roughnessTexture"));
    EXPECT_TRUE(built.files.empty());
    EXPECT_THAT(built.notes,
                ::testing::Contains(::testing::HasSubstr("An image could not be written")));
}

TEST(SceneWriterMaterials, AlphaModesDecideOpacity) {
    auto image = pngImage({255, 255, 255, 128});
    auto opaque = pbrMaterial();
    opaque->diffuse() = textured(image);
    EXPECT_FALSE(hasSpec(writeWith(opaque).layer, surface + ".inputs:opacity"))
        << "opaque even though the image has alpha";

    auto blend = pbrMaterial();
    blend->blendMode = scene::BlendMode::alpha;
    blend->diffuse() = textured(image);
    setFactors(*blend, "baseColorFactor", {1, 1, 1, 0.5});
    const Layer blended = writeWith(blend).layer;
    EXPECT_EQ(sourceOf(blended, surface + ".inputs:opacity"),
              material + "/diffuseTexture.outputs:a");
    EXPECT_FALSE(hasSpec(blended, surface + ".inputs:opacityThreshold"));

    auto mask = pbrMaterial();
    mask->blendMode = scene::BlendMode::alpha;
    mask->diffuse().contents = scene::Color{1, 1, 1, 0.3};
    mask->shaderModifiers[scene::ShaderEntryPoint::fragment] = "cut-out";
    mask->setNamedValue("alphaCutoff", 0.4);
    const Layer masked = writeWith(mask).layer;
    EXPECT_FLOAT_EQ(valueAt<float>(masked, surface + ".inputs:opacity"), 0.3f);
    EXPECT_FLOAT_EQ(valueAt<float>(masked, surface + ".inputs:opacityThreshold"), 0.4f);
}

// Two quads in one material, the first with vertex colours: `colors` (RGBA, one per corner).
SceneLayer writeColoredAndPlain(const std::shared_ptr<scene::Material>& m,
                                const std::vector<std::vector<float>>& colors) {
    auto scene = scene::Scene::create();
    for (const char* name : {"Colored", "Plain"}) {
        auto uv = floatSource(scene::GeometrySemantic::texcoord, {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
        auto geometry =
            std::string(name) == "Colored"
                ? quadGeometry({uv, floatSource(scene::GeometrySemantic::color, colors)})
                : quadGeometry({uv});
        geometry->setMaterials({m});
        auto node = scene::Node::create(name);
        node->setGeometry(geometry);
        scene->rootNode()->addChildNode(node);
    }
    return buildSceneLayer(*scene);
}

TEST(SceneWriterMaterials, VertexColoursAndOpacitiesReachTheSurfaceOfMeshesThatHaveThem) {
    auto m = pbrMaterial("Paint");
    m->blendMode = scene::BlendMode::alpha;
    const SceneLayer built =
        writeColoredAndPlain(m, {{1, 0, 0, 1}, {0, 1, 0, 0.5f}, {0, 0, 1, 1}, {1, 1, 1, 1}});
    const Layer& layer = built.layer;
    const std::string colored = sourceOf(layer, "/Root/Colored.material:binding");
    const std::string plain = sourceOf(layer, "/Root/Plain.material:binding");
    ASSERT_NE(colored, plain);
    EXPECT_EQ(sourceOf(layer, colored + "/PreviewSurface.inputs:diffuseColor"),
              colored + "/reader_displayColor.outputs:result");
    EXPECT_EQ(valueAt<Token>(layer, colored + "/reader_displayColor.info:id").text,
              "UsdPrimvarReader_float3");
    EXPECT_EQ(valueAt<std::string>(layer, colored + "/reader_displayColor.inputs:varname"),
              "displayColor");
    EXPECT_EQ(valueAt<Vec3f>(layer, colored + "/reader_displayColor.inputs:fallback"),
              (Vec3f{1, 1, 1}));
    EXPECT_EQ(sourceOf(layer, colored + "/PreviewSurface.inputs:opacity"),
              colored + "/reader_displayOpacity.outputs:result");
    EXPECT_EQ(valueAt<Vec3f>(layer, plain + "/PreviewSurface.inputs:diffuseColor"),
              (Vec3f{1, 1, 1}));
    EXPECT_TRUE(built.notes.empty()) << built.notes.front();
}

TEST(SceneWriterMaterials, VertexColoursThatChangeNothingKeepThePlainMaterial) {
    auto m = pbrMaterial("Paint");
    const Layer layer =
        writeColoredAndPlain(m, {{1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 0.5f}}).layer;
    // White, and the opaque material ignores the alpha.
    EXPECT_EQ(sourceOf(layer, "/Root/Colored.material:binding"),
              sourceOf(layer, "/Root/Plain.material:binding"));
}

TEST(SceneWriterMaterials, VertexColoursAnUnlitSurfaceEmitsAndATintScalesAreMultipliedIn) {
    const std::vector<std::vector<float>> rgb{
        {1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, {1, 1, 1, 1}};
    auto unlit = pbrMaterial("Glow");
    unlit->lightingModel = scene::LightingModel::constant;
    const SceneLayer glowing = writeColoredAndPlain(unlit, rgb);
    const std::string colored = sourceOf(glowing.layer, "/Root/Colored.material:binding");
    EXPECT_EQ(sourceOf(glowing.layer, colored + "/PreviewSurface.inputs:emissiveColor"),
              colored + "/reader_displayColor.outputs:result");

    // A reader cannot scale what it reads: the tint goes into the colours themselves.
    auto tinted = pbrMaterial("Tinted");
    tinted->diffuse().contents = scene::Color{0.5, 0.25, 1, 0.8};
    tinted->blendMode = scene::BlendMode::alpha;
    const SceneLayer built = writeColoredAndPlain(tinted, rgb);
    EXPECT_TRUE(built.notes.empty()) << built.notes.front();
    const auto colors = valueAt<Array<Vec3f>>(built.layer, "/Root/Colored.primvars:displayColor");
    ASSERT_EQ(colors.size(), 4u);
    EXPECT_EQ(colors[0], (Vec3f{0.5f, 0, 0}));
    EXPECT_EQ(colors[3], (Vec3f{0.5f, 0.25f, 1}));
    EXPECT_FALSE(hasSpec(built.layer, "/Root/Plain.primvars:displayColor"));
}

TEST(SceneWriterMaterials, VertexColoursATextureMultipliesAreLeftOutAndTold) {
    auto printed = pbrMaterial("Printed");
    printed->diffuse() = textured(pngImage({200, 100, 50, 255}));
    const SceneLayer built =
        writeColoredAndPlain(printed, {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, {1, 1, 1, 1}});
    ASSERT_EQ(built.notes.size(), 1u);
    EXPECT_THAT(built.notes.front(), testing::HasSubstr("without the vertex colours"));
}

TEST(SceneWriterMaterials, SharedMaterialAndImageAreWrittenOnce) {
    auto m = pbrMaterial("Shared");
    auto image = pngImage({1, 2, 3});
    m->diffuse() = textured(image);
    m->emission() = textured(image);
    auto scene = scene::Scene::create();
    for (const char* name : {"A", "B"}) {
        auto geometry = quadGeometry();
        geometry->setMaterials({m});
        auto node = scene::Node::create(name);
        node->setGeometry(geometry);
        scene->rootNode()->addChildNode(node);
    }
    const SceneLayer built = buildSceneLayer(*scene);
    EXPECT_EQ(sourceOf(built.layer, "/Root/A.material:binding"), "/Root/Materials/Shared");
    EXPECT_EQ(sourceOf(built.layer, "/Root/B.material:binding"), "/Root/Materials/Shared");
    EXPECT_EQ(built.files.size(), 1u);
}

TEST(SceneWriterMaterials, PrimitiveWithoutMaterialGetsTheDefaultWhiteOne) {
    const Layer layer = buildSceneLayer(*sceneWithGeometry(quadGeometry())).layer;
    const std::string bound = sourceOf(layer, "/Root/Shape.material:binding");
    EXPECT_EQ(bound, "/Root/Materials/material");
    EXPECT_EQ(valueAt<Vec3f>(layer, bound + "/PreviewSurface.inputs:diffuseColor"),
              (Vec3f{1, 1, 1}));
}

} // namespace
} // namespace usd::test
