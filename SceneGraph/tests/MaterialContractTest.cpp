#include <SceneGraph/Material.h>
#include <SceneGraph/MaterialContract.h>
#include <SceneGraph/Node.h>
#include <array>
#include <gmock/gmock.h>

namespace {

using scene::Material;
using testing::ElementsAre;

TEST(MaterialContract, ColourFactorsKeepTheirChannelsAndMissingOnesReadAsTheFallback) {
    Material material;
    scene::setColorFactor(material, scene::material_keys::emissiveFactor,
                          std::array{0.25f, 0.5f, 1.0f});
    EXPECT_EQ(*material.namedValue("emissiveFactorG"), scene::Value(0.5));
    EXPECT_THAT(scene::colorFactor(material, scene::material_keys::emissiveFactor, 0.0),
                ElementsAre(0.25, 0.5, 1.0, 0.0));
    EXPECT_THAT(scene::colorFactor(material, scene::material_keys::baseColorFactor),
                ElementsAre(1, 1, 1, 1));
}

TEST(MaterialContract, OnlyAMaterialWithACutOffIsCutOut) {
    Material material;
    EXPECT_EQ(scene::cutoutThreshold(material), std::nullopt);
    scene::setCutoutThreshold(material, 0.3);
    EXPECT_EQ(scene::cutoutThreshold(material), 0.3);
    scene::clearCutout(material);
    EXPECT_EQ(scene::cutoutThreshold(material), std::nullopt);
}

TEST(MaterialContract, UnlitIsTheConstantModelOrAnAvatarColour) {
    Material lit;
    lit.lightingModel = scene::LightingModel::physicallyBased;
    EXPECT_FALSE(scene::isUnlit(lit));
    Material constant;
    constant.lightingModel = scene::LightingModel::constant;
    EXPECT_TRUE(scene::isUnlit(constant));
    Material avatar;
    scene::setAvatarBaseColor(avatar, glm::dvec4(0.5, 0.25, 1, 1));
    EXPECT_TRUE(scene::isUnlit(avatar));
    EXPECT_EQ(scene::avatarBaseColor(avatar), glm::dvec4(0.5, 0.25, 1, 1));
    EXPECT_EQ(scene::avatarBaseColor(lit), std::nullopt);
}

TEST(MaterialContract, LeftOutFeaturesAccumulateInOneList) {
    Material material;
    EXPECT_EQ(scene::leftOutFeatures(material), std::nullopt);
    scene::noteLeftOutFeature(material, "KHR_materials_sheen");
    scene::noteLeftOutFeature(material, "KHR_materials_volume");
    EXPECT_EQ(scene::leftOutFeatures(material), "KHR_materials_sheen, KHR_materials_volume");
}

TEST(MaterialContract, WeightPathsAreTextsOrNothing) {
    const auto node = scene::Node::create();
    EXPECT_EQ(scene::weightPaths(*node), std::nullopt);
    scene::setWeightPaths(*node, scene::ValueArray{"childNodes[0].morpher.weights[0]"});
    EXPECT_THAT(*scene::weightPaths(*node), ElementsAre("childNodes[0].morpher.weights[0]"));
    scene::setWeightPaths(*node, scene::ValueArray{"childNodes[0].morpher.weights[0]", 3});
    EXPECT_EQ(scene::weightPaths(*node), std::nullopt) << "a number is no key path";
}

} // namespace
