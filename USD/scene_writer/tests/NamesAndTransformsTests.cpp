// How nodes become prims: names made valid and unique (the original kept), the transform as
// translate / orient / scale or as one matrix, cameras, and the layer metadata.

#include "SceneBuilding.h"

#include <SceneGraph/Camera.h>
#include <gmock/gmock.h>

namespace usd::test {
namespace {

using ::testing::ElementsAre;

std::string originalNameAt(const Layer& layer, const std::string& path) {
    const Value* data = metadataOf(layer, path, "customData");
    const Dictionary* dictionary = data ? data->get<Dictionary>() : nullptr;
    const Value* name = dictionary ? dictionary->find("originalName") : nullptr;
    return name && name->get<std::string>() ? *name->get<std::string>() : "<none>";
}

TEST(SceneWriterNames, InvalidNamesBecomeValidUniquePrimNamesThatRememberTheOriginal) {
    auto scene = scene::Scene::create();
    for (const char* name : {"Left Arm", "mesh.001", "Größe", "3D", "", "Twin", "Twin", "Plain"})
        scene->rootNode()->addChildNode(scene::Node::create(name));
    const Layer layer = buildSceneLayer(*scene, "my model").layer;

    const std::vector<std::pair<std::string, std::string>> expected{
        {"/my_model/Left_Arm", "Left Arm"},
        {"/my_model/mesh_001", "mesh.001"},
        {"/my_model/Gr__e", "Größe"},
        {"/my_model/_3D", "3D"},
        {"/my_model/node", ""},
        {"/my_model/Twin", "<none>"},
        {"/my_model/Twin_1", "Twin"},
        {"/my_model/Plain", "<none>"}};
    for (const auto& [path, original] : expected) {
        EXPECT_EQ(typeOf(layer, path), "Xform") << path;
        EXPECT_EQ(originalNameAt(layer, path), original) << path;
    }
}

TEST(SceneWriterNames, LayerMetadataNamesTheRootPrimAsAComponent) {
    auto scene = scene::Scene::create();
    scene->setValue("name", "Showroom");
    const Layer layer = buildSceneLayer(*scene, "").layer;
    const Spec* root = layer.pseudoRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->field("defaultPrim")->get<Token>()->text, "Root");
    EXPECT_EQ(root->field("upAxis")->get<Token>()->text, "Y");
    EXPECT_EQ(*root->field("metersPerUnit")->get<double>(), 1.0);
    EXPECT_EQ(metadataOf(layer, "/Root", "kind")->get<Token>()->text, "component");
    const Dictionary* data = metadataOf(layer, "/Root", "customData")->get<Dictionary>();
    EXPECT_EQ(*data->find("name")->get<std::string>(), "Showroom");
}

TEST(SceneWriterNames, NodeNamedLikeTheMaterialScopeDoesNotCollideWithIt) {
    auto scene = sceneWithGeometry(quadGeometry(), "Materials");
    const Layer layer = buildSceneLayer(*scene).layer;
    EXPECT_EQ(typeOf(layer, "/Root/Materials"), "Scope");
    EXPECT_EQ(typeOf(layer, "/Root/Materials_1"), "Mesh");
    EXPECT_EQ(originalNameAt(layer, "/Root/Materials_1"), "Materials");
}

TEST(SceneWriterTransforms, TranslationRotationAndScaleBecomeOpsInThatOrder) {
    auto scene = scene::Scene::create();
    auto node = scene::Node::create("Moved");
    node->setPosition({1, 2, 3});
    node->setOrientation(scene::quaternionFromXYZW(0, 0.7071068, 0, 0.7071068));
    node->setScale({2, 2, 2});
    scene->rootNode()->addChildNode(node);
    auto still = scene::Node::create("Still");
    scene->rootNode()->addChildNode(still);
    auto turned = scene::Node::create("Turned");
    turned->setOrientation(scene::quaternionFromXYZW(0, 0, 2, 0)); // not normalised
    scene->rootNode()->addChildNode(turned);
    const Layer layer = buildSceneLayer(*scene).layer;

    EXPECT_THAT(
        valueAt<Array<Token>>(layer, "/Root/Moved.xformOpOrder"),
        ElementsAre(Token{"xformOp:translate"}, Token{"xformOp:orient"}, Token{"xformOp:scale"}));
    EXPECT_EQ(valueAt<Vec3d>(layer, "/Root/Moved.xformOp:translate"), (Vec3d{1, 2, 3}));
    const Quatf orient = valueAt<Quatf>(layer, "/Root/Moved.xformOp:orient");
    EXPECT_FLOAT_EQ(orient.imaginary[1], 0.7071068f);
    EXPECT_FLOAT_EQ(orient.real, 0.7071068f);
    EXPECT_EQ(valueAt<Vec3f>(layer, "/Root/Moved.xformOp:scale"), (Vec3f{2, 2, 2}));
    EXPECT_FALSE(hasSpec(layer, "/Root/Still.xformOpOrder"));
    EXPECT_THAT(valueAt<Array<Token>>(layer, "/Root/Turned.xformOpOrder"),
                ElementsAre(Token{"xformOp:orient"}));
    EXPECT_EQ(valueAt<Quatf>(layer, "/Root/Turned.xformOp:orient").imaginary[2], 1.0f);
}

TEST(SceneWriterTransforms, ShearedMatrixIsWrittenAsTheSameSixteenNumbers) {
    auto scene = scene::Scene::create();
    auto node = scene::Node::create("Sheared");
    const std::array<double, 16> elements{1, 0, 0, 0, 0.5, 1, 0, 0, 0, 0, 1, 0, 4, 5, 6, 1};
    node->setTransform(scene::matrixFromElements(elements));
    scene->rootNode()->addChildNode(node);
    const Layer layer = buildSceneLayer(*scene).layer;
    EXPECT_THAT(valueAt<Array<Token>>(layer, "/Root/Sheared.xformOpOrder"),
                ElementsAre(Token{"xformOp:transform"}));
    EXPECT_EQ(valueAt<Matrix4d>(layer, "/Root/Sheared.xformOp:transform").rowMajor, elements);
}

TEST(SceneWriterCameras, PerspectiveAndOrthographicCamerasKeepTheirView) {
    auto scene = scene::Scene::create();
    auto perspective = scene::Camera::create();
    perspective->fieldOfView = 90;
    perspective->zNear = 0.1;
    perspective->zFar = std::numeric_limits<double>::infinity();
    auto orthographic = scene::Camera::create();
    orthographic->usesOrthographicProjection = true;
    orthographic->orthographicScale = 2;
    for (const auto& [name, camera] : {std::pair{"Eye", perspective}, {"Plan", orthographic}}) {
        auto node = scene::Node::create(name);
        node->setCamera(camera);
        scene->rootNode()->addChildNode(node);
    }
    scene->rootNode()->childNodes()[0]->setGeometry(quadGeometry());
    const Layer layer = buildSceneLayer(*scene).layer;

    EXPECT_EQ(typeOf(layer, "/Root/Eye"), "Camera");
    EXPECT_EQ(typeOf(layer, "/Root/Eye/mesh"), "Mesh") << "a camera node keeps its geometry";
    EXPECT_EQ(valueAt<Token>(layer, "/Root/Eye.projection").text, "perspective");
    // fov 90°: focal length is half the vertical aperture.
    EXPECT_NEAR(valueAt<float>(layer, "/Root/Eye.focalLength"), 15.2908f / 2, 1e-4);
    EXPECT_EQ(valueAt<Vec2f>(layer, "/Root/Eye.clippingRange"), (Vec2f{0.1f, 1e6f}));
    EXPECT_EQ(valueAt<Token>(layer, "/Root/Plan.projection").text, "orthographic");
    EXPECT_FLOAT_EQ(valueAt<float>(layer, "/Root/Plan.verticalAperture"), 40.0f);
    EXPECT_NEAR(valueAt<float>(layer, "/Root/Plan.horizontalAperture"), 40 * 20.955 / 15.2908,
                1e-3);
}

TEST(SceneWriterNodes, NodeValuesGoToCustomDataExceptLoaderBookkeeping) {
    auto scene = scene::Scene::create();
    auto node = scene::Node::create("Tagged");
    node->setValue("rating", 4.5);
    node->setValue("label", "front");
    node->setValue("weightPaths", scene::ValueArray{scene::Value("childNodes[0]")});
    node->setValue("owner", scene::Value::reference(scene->rootNode()));
    scene->rootNode()->addChildNode(node);
    const Layer layer = buildSceneLayer(*scene).layer;
    const Dictionary* data = metadataOf(layer, "/Root/Tagged", "customData")->get<Dictionary>();
    EXPECT_EQ(*data->find("rating")->get<double>(), 4.5);
    EXPECT_EQ(*data->find("label")->get<std::string>(), "front");
    EXPECT_EQ(data->find("weightPaths"), nullptr);
    EXPECT_EQ(data->find("owner"), nullptr);
}

} // namespace
} // namespace usd::test
