#include "MaterialBuilder.h"
#include "MaterialDescription.h"
#include "SceneBuilding.h"
#include "TextureDecoding.h"

#include <QImage>
#include <SceneGraph/Image.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/MaterialContract.h>
#include <gtest/gtest.h>
#include <stdexcept>

namespace brightfold::preview {
namespace {

using fixtures::pngBytes;
using scene::Material;

/// Two pixels: opaque red, then half-transparent blue.
std::shared_ptr<scene::Image> twoPixelImage() {
    QImage image(2, 1, QImage::Format_RGBA8888);
    image.setPixelColor(0, 0, QColor(255, 0, 0, 255));
    image.setPixelColor(1, 0, QColor(0, 0, 255, 128));
    return scene::Image::fromEncodedBytes(pngBytes(image));
}

scene::MaterialProperty imageSlot(const std::shared_ptr<scene::Image>& image,
                                  scene::ColorComponents components = scene::ColorComponents::all) {
    scene::MaterialProperty slot = scene::MaterialProperty::withContents(image);
    slot.textureComponents = components;
    return slot;
}

// As a glTF metallic-roughness material arrives: maps in the slots, factors in named values.
std::shared_ptr<Material> texturedMaterial() {
    auto material = Material::create();
    material->lightingModel = scene::LightingModel::physicallyBased;
    const auto image = twoPixelImage();
    material->diffuse() = imageSlot(image);
    material->metalness() = imageSlot(image, scene::ColorComponents::blue);
    material->roughness() = imageSlot(image, scene::ColorComponents::green);
    material->normal() = imageSlot(image);
    material->ambientOcclusion() = imageSlot(image);
    material->ambientOcclusion().intensity = 0.25;
    material->emission() = imageSlot(image);
    material->emission().mappingChannel = 1;
    for (auto [key, value] : {std::pair{"baseColorFactorR", 0.5},
                              {"baseColorFactorG", 0.25},
                              {"baseColorFactorB", 1.0},
                              {"baseColorFactorA", 0.75},
                              {"metallicFactor", 0.3},
                              {"roughnessFactor", 0.6},
                              {"emissiveFactorR", 1.0},
                              {"emissiveFactorG", 0.5},
                              {"emissiveFactorB", 0.0}}) {
        material->setNamedValue(key, value);
    }
    material->blendMode = scene::BlendMode::replace;
    return material;
}

TEST(MaterialConversion, TexturedSlotsTakeTheirFactorsFromNamedValuesAndTheirChannels) {
    const MaterialDescription description = describeMaterial(*texturedMaterial());
    ASSERT_TRUE(description.baseColorMap && description.metalnessMap && description.roughnessMap);
    ASSERT_TRUE(description.normalMap && description.occlusionMap && description.emissiveMap);
    EXPECT_EQ(description.baseColor, glm::vec4(0.5, 0.25, 1.0, 0.75));
    EXPECT_FLOAT_EQ(description.metalness, 0.3f);
    EXPECT_FLOAT_EQ(description.roughness, 0.6f);
    EXPECT_EQ(description.metalnessMap->channel, TextureChannel::blue);
    EXPECT_EQ(description.roughnessMap->channel, TextureChannel::green);
    EXPECT_EQ(description.occlusionMap->channel, TextureChannel::red);
    EXPECT_FLOAT_EQ(description.occlusionAmount, 0.25f);
    EXPECT_EQ(description.emissiveFactor, glm::vec3(1.0, 0.5, 0.0));
    EXPECT_EQ(description.emissiveMap->uvChannel, 1);
    EXPECT_EQ(description.baseColorMap->uvChannel, 0);
    EXPECT_EQ(description.alphaMode, AlphaMode::opaque);
}

TEST(MaterialConversion, PlainSlotsAreTheFactorsThemselves) {
    auto material = Material::create();
    material->diffuse().contents = scene::Color{0.1, 0.2, 0.3, 1.0};
    material->metalness().contents = scene::Color::white(0.8);
    material->roughness().contents = 0.4;
    material->setNamedValue("metallicFactor", 1.0);
    material->setNamedValue("emissiveFactorR", 0.0);
    material->setNamedValue("emissiveFactorG", 0.0);
    material->setNamedValue("emissiveFactorB", 0.7);
    material->emission().mappingChannel = 5;
    const MaterialDescription description = describeMaterial(*material);
    EXPECT_EQ(description.baseColor, glm::vec4(0.1f, 0.2f, 0.3f, 1.0f));
    EXPECT_FLOAT_EQ(description.metalness, 0.8f);
    EXPECT_FLOAT_EQ(description.roughness, 0.4f);
    // An untextured emissive factor lives only in the named values.
    EXPECT_EQ(description.emissiveFactor, glm::vec3(0, 0, 0.7f));
    EXPECT_FALSE(description.baseColorMap || description.metalnessMap || description.emissiveMap);
}

TEST(MaterialConversion, AlphaModesAndFaceCulling) {
    auto opaque = texturedMaterial();
    opaque->doubleSided = true;
    EXPECT_EQ(describeMaterial(*opaque).alphaMode, AlphaMode::opaque);
    EXPECT_EQ(describeMaterial(*opaque).culling, FaceCulling::none);

    auto blend = texturedMaterial();
    blend->blendMode = scene::BlendMode::alpha;
    blend->writesToDepthBuffer = false;
    EXPECT_EQ(describeMaterial(*blend).alphaMode, AlphaMode::blend);
    EXPECT_EQ(describeMaterial(*blend).culling, FaceCulling::back);

    auto mask = texturedMaterial();
    mask->blendMode = scene::BlendMode::alpha;
    scene::setCutoutThreshold(*mask, 0.3);
    mask->cullMode = scene::CullMode::front;
    EXPECT_EQ(describeMaterial(*mask).alphaMode, AlphaMode::mask);
    EXPECT_FLOAT_EQ(describeMaterial(*mask).alphaCutoff, 0.3f);
    EXPECT_EQ(describeMaterial(*mask).culling, FaceCulling::front);

    auto faded = Material::create();
    faded->transparency = 0.5;
    EXPECT_EQ(describeMaterial(*faded).alphaMode, AlphaMode::blend);
    EXPECT_FLOAT_EQ(describeMaterial(*faded).baseColor.a, 0.5f);
    EXPECT_EQ(describeMaterial(*Material::create()).alphaMode, AlphaMode::opaque);

    EXPECT_EQ(mirroredCulling(FaceCulling::back), FaceCulling::front);
    EXPECT_EQ(mirroredCulling(FaceCulling::front), FaceCulling::back);
    EXPECT_EQ(mirroredCulling(FaceCulling::none), FaceCulling::none);
}

TEST(TextureDecoding, GivesRowsOfRGBAAndNoticesTransparency) {
    const DecodedTexture texture = decodeTexture(*twoPixelImage());
    EXPECT_EQ(texture.size, QSize(2, 1));
    ASSERT_EQ(texture.rgba.size(), 8);
    EXPECT_EQ(static_cast<unsigned char>(texture.rgba[0]), 255);
    EXPECT_EQ(static_cast<unsigned char>(texture.rgba[6]), 255);
    EXPECT_EQ(static_cast<unsigned char>(texture.rgba[7]), 128);
    EXPECT_TRUE(texture.hasTransparency);
}

TEST(TextureDecoding, DamagedPixelDataFailsInsteadOfShowingGarbage) {
    QImage image(64, 64, QImage::Format_RGB888);
    image.fill(Qt::green);
    scene::Bytes bytes = pngBytes(image);
    std::vector<std::uint8_t> cut(bytes->begin(), bytes->begin() + 60);
    const auto damaged = scene::Image::fromEncodedBytes(scene::makeBytes(std::move(cut)));
    ASSERT_NE(damaged, nullptr);
    EXPECT_THROW(decodeTexture(*damaged), std::runtime_error);
}

} // namespace
} // namespace brightfold::preview
