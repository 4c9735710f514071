#include "ShaderModifiers.h"
#include "support/GLTFTestDocument.h"
#include "support/TestImages.h"
#include "support/TestUnarchiver.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using gltf::testing::failureOf;
using gltf::testing::unarchiverOf;
using gltf::testing::unarchiverWithImage;
using scene::FilterMode;
using scene::ShaderEntryPoint;
using scene::WrapMode;
using testing::ElementsAre;
using testing::Pair;

namespace {

std::vector<double> namedValuesOf(const scene::Material& material) {
    std::vector<double> values;
    // The cut-off, last, is named on cut-out materials alone.
    for (const char* key :
         {"baseColorFactorR", "baseColorFactorG", "baseColorFactorB", "baseColorFactorA",
          "metallicFactor", "roughnessFactor", "emissiveFactorR", "emissiveFactorG",
          "emissiveFactorB", "alphaCutoff"}) {
        const scene::Value* value = material.namedValue(key);
        values.push_back(value ? value->number().value_or(-1) : -1);
    }
    return values;
}

std::string shaderText(const char* name) {
    return std::string(gltf::shaderModifier(name));
}

std::shared_ptr<scene::Material> onlyMaterial(const std::string& material) {
    return unarchiverWithImage(R"("materials": [)" + material + "]").loadMaterial(0);
}

} // namespace

TEST(Materials, WithoutMembersCarryNeutralValuesAndTheSurfaceModifier) {
    const auto material = onlyMaterial("{}");
    EXPECT_EQ(material->name, "");
    EXPECT_THAT(namedValuesOf(*material), ElementsAre(1, 1, 1, 1, 1, 1, 0, 0, 0, -1));
    EXPECT_FALSE(material->doubleSided);
    EXPECT_EQ(material->blendMode, scene::BlendMode::replace);
    EXPECT_EQ(material->lightingModel, scene::Material().lightingModel);
    EXPECT_THAT(
        material->shaderModifiers,
        ElementsAre(Pair(ShaderEntryPoint::surface, shaderText("GLTFShaderModifierSurface"))));
}

TEST(Materials, FactorsAreColoursUnlessATextureTakesTheirPlace) {
    const auto plain = onlyMaterial(R"({"name": "paint", "emissiveFactor": [0.1, 0.2, 0.3],
        "pbrMetallicRoughness": {"baseColorFactor": [0.5, 0.2, 0.1, 0.8], "metallicFactor": 0.3,
                                 "roughnessFactor": 0.6}})");
    EXPECT_EQ(plain->name, "paint");
    EXPECT_EQ(plain->lightingModel, scene::LightingModel::physicallyBased);
    EXPECT_EQ(*plain->diffuse().color(), (scene::Color{0.5f, 0.2f, 0.1f, 0.8f}));
    EXPECT_EQ(*plain->metalness().color(), scene::Color::white(0.3f));
    EXPECT_EQ(*plain->roughness().color(), scene::Color::white(0.6f));
    EXPECT_THAT(namedValuesOf(*plain), ElementsAre(1, 1, 1, 1, 1, 1, 0.1f, 0.2f, 0.3f, -1));

    const auto textured = onlyMaterial(R"({"pbrMetallicRoughness": {
        "baseColorFactor": [0.5, 0.2, 0.1, 0.8], "baseColorTexture": {"index": 0},
        "metallicFactor": 0.3, "metallicRoughnessTexture": {"index": 0, "texCoord": 1}}})");
    EXPECT_NE(textured->diffuse().image(), nullptr);
    EXPECT_EQ(textured->metalness().image(), textured->roughness().image());
    EXPECT_EQ(textured->metalness().textureComponents, scene::ColorComponents::blue);
    EXPECT_EQ(textured->roughness().textureComponents, scene::ColorComponents::green);
    EXPECT_EQ(textured->metalness().mappingChannel, 1);
    EXPECT_EQ(textured->diffuse().mappingChannel, 0);
    EXPECT_THAT(namedValuesOf(*textured),
                ElementsAre(0.5f, 0.2f, 0.1f, 0.8f, 0.3f, 1, 0, 0, 0, -1));
}

TEST(Materials, DetailTexturesKeepTheirOwnSlotSettings) {
    GLTFUnarchiver unarchiver = unarchiverWithImage(R"("materials": [{"pbrMetallicRoughness": {},
        "normalTexture": {"index": 0, "scale": 2, "texCoord": 1},
        "occlusionTexture": {"index": 0, "strength": 0.4},
        "emissiveTexture": {"index": 0}, "doubleSided": true}])");
    const auto material = unarchiver.loadMaterial(0);
    EXPECT_EQ(material->normal().mappingChannel, 1);
    EXPECT_EQ(material->normal().intensity, 1);
    EXPECT_FLOAT_EQ(static_cast<float>(material->ambientOcclusion().intensity), 0.4f);
    EXPECT_NE(material->emission().image(), nullptr);
    EXPECT_FALSE(material->selfIllumination().hasContents());
    EXPECT_TRUE(material->doubleSided);
    // The slots hold copies: the shared texture keeps its own settings.
    EXPECT_EQ(unarchiver.loadTexture(0)->intensity, 1);
    EXPECT_EQ(unarchiver.loadTexture(0)->mappingChannel, 0);
}

TEST(Materials, AlphaModesChooseBlendingAndShaderModifiers) {
    const auto blend = onlyMaterial(R"({"alphaMode": "BLEND"})");
    EXPECT_EQ(blend->blendMode, scene::BlendMode::alpha);
    EXPECT_FALSE(blend->writesToDepthBuffer);
    EXPECT_THAT(blend->shaderModifiers,
                ElementsAre(Pair(ShaderEntryPoint::surface,
                                 shaderText("GLTFShaderModifierSurface_alphaModeBlend"))));

    const auto mask = onlyMaterial(R"({"alphaMode": "MASK"})");
    EXPECT_EQ(namedValuesOf(*mask).back(), 0.5);
    EXPECT_TRUE(mask->writesToDepthBuffer);
    EXPECT_THAT(
        mask->shaderModifiers,
        ElementsAre(Pair(ShaderEntryPoint::surface, shaderText("GLTFShaderModifierSurface")),
                    Pair(ShaderEntryPoint::fragment,
                         shaderText("GLTFShaderModifierFragment_alphaCutoff"))));
}

TEST(Materials, RefuseUnknownModesAndShortFactors) {
    const std::pair<const char*, std::string> cases[] = {
        {R"({"alphaMode": "mask"})", "NotSupported: loadMaterial: alphaMode mask is not supported"},
        {R"({"pbrMetallicRoughness": {"baseColorFactor": [1, 1, 1]}})",
         "DataInconsistent: loadMaterial: baseColorFactor needs 4 numbers, has 3"},
        {R"({"emissiveFactor": [1]})",
         "DataInconsistent: loadMaterial: emissiveFactor needs 3 numbers, has 1"},
        {R"({"normalTexture": {"index": 4}})",
         "DataInconsistent: loadTexture: out of index: 4 < 1"},
    };
    for (const auto& [material, failure] : cases) {
        EXPECT_EQ(failureOf([&material = material] { onlyMaterial(material); }), failure)
            << material;
    }
    EXPECT_EQ(failureOf([] { unarchiverOf("").loadMaterial(0); }),
              "DataInconsistent: loadMaterial: out of index: 0 < 0");
}

TEST(Materials, AndTexturesAreLoadedOncePerIndex) {
    GLTFUnarchiver unarchiver = unarchiverWithImage(R"("materials": [
        {"pbrMetallicRoughness": {"baseColorTexture": {"index": 0}}},
        {"pbrMetallicRoughness": {"baseColorTexture": {"index": 0}}}])");
    const auto first = unarchiver.loadMaterial(0);
    EXPECT_EQ(unarchiver.loadMaterial(0), first);
    EXPECT_EQ(unarchiver.loadMaterial(1)->diffuse().image(), first->diffuse().image());
    EXPECT_EQ(unarchiver.loadTexture(0), unarchiver.loadTexture(0));
}

TEST(Samplers, TranslateFilterAndWrapCodes) {
    GLTFUnarchiver unarchiver = unarchiverWithImage(R"("samplers": [
        {"minFilter": 9729}, {"minFilter": 9986, "magFilter": 9728},
        {"wrapS": 33648, "wrapT": 33071}, {"magFilter": 9984}, {"wrapT": 1}])",
                                                    R"([{"source": 0}, {"source": 0, "sampler": 0},
        {"source": 0, "sampler": 1}, {"source": 0, "sampler": 2}, {"source": 0, "sampler": 3},
        {"source": 0, "sampler": 4}, {"source": 0, "sampler": 5}, {"sampler": 0}])");
    const auto unsampled = unarchiver.loadTexture(0);
    EXPECT_EQ(unsampled->wrapS, WrapMode::repeat);
    EXPECT_EQ(unsampled->wrapT, WrapMode::repeat);
    EXPECT_EQ(unsampled->mipFilter, FilterMode::linear);

    const auto linear = unarchiver.loadTexture(1);
    EXPECT_EQ(linear->minificationFilter, FilterMode::linear);
    EXPECT_EQ(linear->mipFilter, FilterMode::none);
    EXPECT_EQ(linear->wrapS, WrapMode::repeat);

    const auto mipmapped = unarchiver.loadTexture(2);
    EXPECT_EQ(mipmapped->minificationFilter, FilterMode::nearest);
    EXPECT_EQ(mipmapped->mipFilter, FilterMode::linear);
    EXPECT_EQ(mipmapped->magnificationFilter, FilterMode::nearest);

    const auto wrapped = unarchiver.loadTexture(3);
    EXPECT_EQ(wrapped->wrapS, WrapMode::mirror);
    EXPECT_EQ(wrapped->wrapT, WrapMode::clamp);

    EXPECT_EQ(failureOf([&] { unarchiver.loadTexture(4); }),
              "NotSupported: setSampler: magFilter 9984 is not supported");
    EXPECT_EQ(failureOf([&] { unarchiver.loadTexture(5); }),
              "NotSupported: setSampler: wrapT 1 is not supported");
    EXPECT_EQ(failureOf([&] { unarchiver.loadTexture(6); }),
              "DataInconsistent: setSampler: out of index: 5 < 5");
    EXPECT_EQ(failureOf([&] { unarchiver.loadTexture(7); }),
              "NotSupported: loadTexture: texture without source is not supported");
    EXPECT_EQ(failureOf([] {
                  unarchiverWithImage("", R"([{"source": 0, "sampler": 0}])").loadTexture(0);
              }),
              "DataInconsistent: setSampler: samplers is not defined");
}

TEST(Images, ComeFromDataUrisBufferViewsOrFilesAndMustDecode) {
    const std::string png = gltf::testing::base64(gltf::testing::onePixelPng());
    GLTFUnarchiver unarchiver =
        unarchiverOf(gltf::testing::embeddedBuffer(gltf::testing::onePixelPngBytes()) + R"(,
        "bufferViews": [{"buffer": 0, "byteLength": )" +
                     std::to_string(gltf::testing::onePixelPng().size()) + R"(}],
        "images": [{"uri": "data:image/png;base64,)" +
                     png + R"("},
                   {"bufferView": 0, "mimeType": "image/jpeg"},
                   {"uri": "data:image/png;base64,)" +
                     png.substr(0, 8) + "\\n" + png.substr(8) +
                     R"("}, {"name": "nothing"}, {"uri": "data:,AAAA"},
                   {"uri": "data:;base64,AAAA"}])");
    EXPECT_EQ(unarchiver.loadImage(0)->width(), 1);
    EXPECT_EQ(unarchiver.loadImage(0), unarchiver.loadImage(0));
    EXPECT_EQ(unarchiver.loadImage(1)->height(), 1);
    EXPECT_EQ(failureOf([&] { unarchiver.loadImage(2); }),
              "loadImage: cannot convert the base64 string to Data");
    EXPECT_EQ(failureOf([&] { unarchiver.loadImage(3); }), "loadImage: image 3 is not loaded");
    EXPECT_THAT(failureOf([&] { unarchiver.loadImage(4); }),
                testing::StartsWith("the file reference \"data:,AAAA\" is refused"));
    EXPECT_EQ(failureOf([&] { unarchiver.loadImage(5); }), "loadImage: image 5 is not loaded");
}

TEST(Images, PartOfABufferIsViewedAndOutlivesTheDocument) {
    const std::vector<std::uint8_t> png = gltf::testing::onePixelPng();
    gltf::testing::TestBytes buffer;
    buffer.append<std::uint8_t>({1, 2, 3, 4}).appendBytes(png);
    std::shared_ptr<scene::Image> image;
    {
        GLTFUnarchiver unarchiver = gltf::testing::unarchiverOf(
            buffer, R"("bufferViews": [{"buffer": 0, "byteOffset": 4, "byteLength": )" +
                        std::to_string(png.size()) + R"(}], "images": [{"bufferView": 0}])");
        image = unarchiver.loadImage(0);
    }
    EXPECT_EQ(*image->encodedBytes(), std::span<const std::uint8_t>(png));
    EXPECT_EQ(image->width(), 1);
}

TEST(Images, FileNamesAreUsedAsWrittenBesideTheDocument) {
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / "GLTFReaderImageTests";
    std::filesystem::create_directories(directory);
    const std::vector<std::uint8_t> png = gltf::testing::onePixelPng();
    std::ofstream(directory / "logo%20one.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    std::ofstream(directory / "image.gltf")
        << gltf::testing::GLTFTestDocument(R"("images": [{"uri": "logo%20one.png"}])").json();
    GLTFUnarchiver unarchiver(directory / "image.gltf");
    const auto image = unarchiver.loadImage(0);
    EXPECT_EQ(image->width(), 1);
    EXPECT_EQ(image->name(), "logo%20one.png");
}
