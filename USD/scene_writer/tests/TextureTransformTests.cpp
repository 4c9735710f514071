// Texture transforms: a map a UsdTransform2d can express becomes one, a map that shears is
// baked into a texture-coordinate primvar of its own. Either way a texture must sample at the
// st the scene's uv map gives.

#include "SceneBuilding.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <gmock/gmock.h>
#include <numbers>

namespace usd::test {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

const std::string shape = "/Root/Shape";
const std::string texture = "/Root/Materials/Surface/diffuseTexture";

std::shared_ptr<scene::Material> diffuseMappedBy(const scene::Matrix4& uvTransform) {
    auto material = pbrMaterial();
    material->diffuse() = scene::MaterialProperty::withContents(pngImage({9, 9, 9}));
    material->diffuse().contentsTransform = uvTransform;
    return material;
}

std::shared_ptr<scene::Scene> texturedQuad(std::shared_ptr<scene::Material> material) {
    auto geometry = quadGeometry(
        {floatSource(scene::GeometrySemantic::texcoord, {{0, 0}, {1, 0}, {1, 1}, {0, 1}})});
    geometry->setMaterials({std::move(material)});
    return sceneWithGeometry(geometry);
}

// Where the scene samples for a vertex written with `st`: the uv map applied in uv space.
Vec2f expectedSt(const scene::Matrix4& uvTransform, const Vec2f& st) {
    const glm::dvec4 uv = uvTransform * glm::dvec4(st[0], 1.0 - st[1], 0, 1);
    return {static_cast<float>(uv.x), static_cast<float>(1.0 - uv.y)};
}

// What a UsdTransform2d node in the layer makes of `st`: scale, rotate, translate.
Vec2f applyTransformNode(const Layer& layer, const std::string& node, const Vec2f& st) {
    const auto scale = valueAt<Vec2f>(layer, node + ".inputs:scale");
    const auto translation = valueAt<Vec2f>(layer, node + ".inputs:translation");
    const double angle = valueAt<float>(layer, node + ".inputs:rotation") * std::numbers::pi / 180;
    const double x = st[0] * scale[0], y = st[1] * scale[1];
    return {static_cast<float>(x * std::cos(angle) - y * std::sin(angle) + translation[0]),
            static_cast<float>(x * std::sin(angle) + y * std::cos(angle) + translation[1])};
}

// The primvar the texture's st input reads, through a transform node or not.
std::string varnameReadBy(const Layer& layer, const std::string& stInput) {
    const std::string source = sourceOf(layer, stInput);
    const std::string node = source.substr(0, source.find(".outputs:"));
    if (typeOf(layer, node) == "Shader" && hasSpec(layer, node + ".inputs:in"))
        return varnameReadBy(layer, node + ".inputs:in");
    return valueAt<std::string>(layer, node + ".inputs:varname");
}

void expectNear(const Vec2f& actual, const Vec2f& wanted) {
    EXPECT_NEAR(actual[0], wanted[0], 1e-5);
    EXPECT_NEAR(actual[1], wanted[1], 1e-5);
}

TEST(SceneWriterTextureTransforms, ScaleRotationAndOffsetBecomeATransformNode) {
    const scene::Matrix4 uvTransform = glm::scale(
        glm::rotate(glm::translate(scene::Matrix4(1.0), {0.25, -0.5, 0}), 0.5, glm::dvec3(0, 0, 1)),
        {2.0, 0.5, 1.0});
    const SceneLayer built = buildSceneLayer(*texturedQuad(diffuseMappedBy(uvTransform)));
    const Layer& layer = built.layer;
    const std::string node = texture + "_transform";
    ASSERT_EQ(valueAt<Token>(layer, node + ".info:id").text, "UsdTransform2d");
    EXPECT_EQ(varnameReadBy(layer, texture + ".inputs:st"), "st");
    for (const Vec2f& st : valueAt<Array<Vec2f>>(layer, shape + ".primvars:st"))
        expectNear(applyTransformNode(layer, node, st), expectedSt(uvTransform, st));
    EXPECT_THAT(built.notes, IsEmpty());
}

TEST(SceneWriterTextureTransforms, ShearIsBakedIntoAChannelOfItsOwn) {
    scene::Matrix4 uvTransform(1.0);
    uvTransform[1][0] = 0.5; // u' = u + v / 2
    uvTransform[3][1] = 0.25;
    const auto scene = texturedQuad(diffuseMappedBy(uvTransform));
    const SceneLayer built = buildSceneLayer(*scene);
    const Layer& layer = built.layer;
    EXPECT_FALSE(hasSpec(layer, texture + "_transform"));
    ASSERT_EQ(varnameReadBy(layer, texture + ".inputs:st"), "stBaked1");
    const auto original = valueAt<Array<Vec2f>>(layer, shape + ".primvars:st");
    const auto baked = valueAt<Array<Vec2f>>(layer, shape + ".primvars:stBaked1");
    ASSERT_EQ(baked.size(), original.size());
    for (std::size_t v = 0; v < baked.size(); ++v)
        expectNear(baked[v], expectedSt(uvTransform, original[v]));
    EXPECT_THAT(built.notes, IsEmpty());
    EXPECT_THAT(checkWrittenLayer(*scene, layer, &built.files), IsEmpty());
}

// The AR viewer would apply the first texture's transform node to every texture of the
// material, so a second, different map must not travel as a node of its own.
TEST(SceneWriterTextureTransforms, ASecondDifferentMapInOneMaterialIsBaked) {
    const scene::Matrix4 diffuseMap = glm::scale(scene::Matrix4(1.0), {2.0, 2.0, 1.0});
    const scene::Matrix4 emissiveMap = glm::translate(scene::Matrix4(1.0), {0.5, 0.25, 0});
    auto material = diffuseMappedBy(diffuseMap);
    material->emission() = scene::MaterialProperty::withContents(pngImage({7, 7, 7}));
    material->emission().contentsTransform = emissiveMap;
    const auto scene = texturedQuad(material);
    const SceneLayer built = buildSceneLayer(*scene);
    const Layer& layer = built.layer;
    const std::string emissive = "/Root/Materials/Surface/emissiveTexture";
    const auto original = valueAt<Array<Vec2f>>(layer, shape + ".primvars:st");
    const bool diffuseHasNode = hasSpec(layer, texture + "_transform");
    ASSERT_NE(diffuseHasNode, hasSpec(layer, emissive + "_transform"));
    const std::string& noded = diffuseHasNode ? texture : emissive;
    const std::string& baked = diffuseHasNode ? emissive : texture;
    EXPECT_EQ(varnameReadBy(layer, baked + ".inputs:st"), "stBaked1");
    const auto bakedSt = valueAt<Array<Vec2f>>(layer, shape + ".primvars:stBaked1");
    ASSERT_EQ(bakedSt.size(), original.size());
    for (std::size_t v = 0; v < original.size(); ++v) {
        expectNear(applyTransformNode(layer, noded + "_transform", original[v]),
                   expectedSt(diffuseHasNode ? diffuseMap : emissiveMap, original[v]));
        expectNear(bakedSt[v], expectedSt(diffuseHasNode ? emissiveMap : diffuseMap, original[v]));
    }
    EXPECT_THAT(built.notes, IsEmpty());
    EXPECT_THAT(checkWrittenLayer(*scene, layer, &built.files), IsEmpty());
}

TEST(SceneWriterTextureTransforms, BakedChannelFollowsBackFaceCopies) {
    scene::Matrix4 uvTransform(1.0);
    uvTransform[0][1] = -0.3;
    auto material = diffuseMappedBy(uvTransform);
    material->doubleSided = true;
    const Layer layer = buildSceneLayer(*texturedQuad(material)).layer;
    const auto points = valueAt<Array<Vec3f>>(layer, shape + ".points");
    EXPECT_EQ(valueAt<Array<Vec2f>>(layer, shape + ".primvars:stBaked1").size(), points.size());
}

TEST(SceneWriterTextureTransforms, NearestFilteringIsReportedAsNotShown) {
    auto nearest = diffuseMappedBy(scene::Matrix4(1.0));
    nearest->diffuse().magnificationFilter = scene::FilterMode::nearest;
    const SceneLayer built = buildSceneLayer(*texturedQuad(nearest));
    EXPECT_THAT(built.notes, Contains(HasSubstr("diffuseTexture asks for nearest")));
    const SceneLayer linear = buildSceneLayer(*texturedQuad(diffuseMappedBy(scene::Matrix4(1.0))));
    EXPECT_THAT(linear.notes, Not(Contains(HasSubstr("nearest"))));
}

} // namespace
} // namespace usd::test
