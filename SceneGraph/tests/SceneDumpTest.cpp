#include <SceneGraph/Animation.h>
#include <SceneGraph/Camera.h>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/Light.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <SceneGraph/SceneDump.h>
#include <SceneGraph/Skinner.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace scene {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::shared_ptr<Geometry> triangle() {
    const Bytes bytes = makeBytes(std::vector<std::uint8_t>(48));
    const auto positions = GeometrySource::create(bytes, GeometrySemantic::vertex,
                                                  {.vectorCount = 3, .dataStride = 12});
    const auto weights =
        GeometrySource::create(bytes, GeometrySemantic::boneWeights,
                               {.vectorCount = 3, .componentsPerVector = 4, .dataStride = 16});
    const auto joints = GeometrySource::create(bytes, GeometrySemantic::boneIndices,
                                               {.vectorCount = 3,
                                                .usesFloatComponents = false,
                                                .componentsPerVector = 4,
                                                .bytesPerComponent = 1,
                                                .dataStride = 4});
    const auto element = GeometryElement::create(bytes, PrimitiveType::triangles, 1, 2);
    return Geometry::create({positions, weights, joints}, {element});
}

std::shared_ptr<Scene> sampleScene() {
    auto scene = Scene::create();
    scene->setValue("name", "Sample");
    auto body = Node::create("Body");
    scene->rootNode()->addChildNode(body);
    body->setPosition({1, 2, 3});
    body->setValue("weightPaths", ValueArray{"childNodes[0].childNodes[0].morpher.weights[0]"});

    auto primitive = Node::create("primitive");
    body->addChildNode(primitive);
    auto geometry = triangle();
    auto material = Material::create();
    material->name = "Skin";
    material->lightingModel = LightingModel::physicallyBased;
    material->blendMode = BlendMode::replace;
    material->metalness().contents = 0.25;
    material->shaderModifiers[ShaderEntryPoint::surface] = "surface text";
    material->setNamedValue("alphaCutoff", 0.5);
    geometry->setMaterials({material});
    primitive->setGeometry(geometry);
    auto morpher = Morpher::create();
    morpher->setTargets({Geometry::create({})});
    morpher->setCalculationMode(MorpherCalculationMode::additive);
    primitive->setMorpher(morpher);
    auto skinner = Skinner::create(geometry, {body}, std::nullopt, geometry->sources()[1],
                                   geometry->sources()[2]);
    skinner->setSkeleton(primitive);
    primitive->setSkinner(skinner);

    auto eye = Node::create("Eye");
    auto camera = Camera::create();
    camera->zFar = std::numeric_limits<double>::infinity();
    eye->setCamera(camera);
    scene->rootNode()->addChildNode(eye);

    auto lamp = Node::create("Lamp");
    auto light = Light::create();
    light->name = "Key";
    light->type = LightType::spot;
    light->color = {1, 0.5, 0.25};
    light->intensity = 20;
    light->range = 7.5;
    light->innerConeAngle = 0.25;
    light->outerConeAngle = 0.5;
    lamp->setLight(light);
    scene->rootNode()->addChildNode(lamp);

    auto group = AnimationGroup::create();
    group->duration = 5;
    group->repeatCount = repeatForever;
    group->animations = {KeyframeAnimation::create("position")};
    body->addAnimation(group, "translation");
    return scene;
}

TEST(SceneDump, DescribesHierarchyContentsAndValues) {
    const std::string dump = dumpScene(*sampleScene());
    EXPECT_THAT(dump, HasSubstr("Scene\n  background: none\n  value name = \"Sample\"\n"));
    EXPECT_THAT(dump, HasSubstr("\n  Node \"Body\"\n    transform: position (1, 2, 3) "
                                "orientation (0, 0, 0, 1) scale (1, 1, 1)\n"));
    EXPECT_THAT(dump, HasSubstr("    value weightPaths = "
                                "[\"childNodes[0].childNodes[0].morpher.weights[0]\"]\n"));
    EXPECT_THAT(dump, HasSubstr("      geometry \"\": 3 sources, 1 element, 1 material\n"));
    EXPECT_THAT(dump, HasSubstr("source vertex: 3 x 3 float32, offset 0, stride 12\n"));
    EXPECT_THAT(dump, HasSubstr("source boneIndices: 3 x 4 uint8, offset 0, stride 4\n"));
    EXPECT_THAT(dump, HasSubstr("element triangles: 1 primitives, 2-byte indices, offset 0\n"));
    EXPECT_THAT(dump, HasSubstr("material \"Skin\": physicallyBased, doubleSided no, cull back, "
                                "blend replace"));
    EXPECT_THAT(dump, HasSubstr("diffuse: color (1, 1, 1, 1)"));
    EXPECT_THAT(dump, HasSubstr("metalness: number 0.25"));
    EXPECT_THAT(dump, Not(HasSubstr("roughness:"))) << "empty slots are left out";
    EXPECT_THAT(dump, HasSubstr("shaderModifier surface: 12 characters\n"));
    EXPECT_THAT(dump, HasSubstr("value alphaCutoff = 0.5\n"));
    EXPECT_THAT(dump, HasSubstr("morpher: additive, 1 target, weights (0)\n"));
    EXPECT_THAT(dump, HasSubstr("skinner: 1 bone (\"Body\"), no inverse bind transforms, "
                                "skeleton \"primitive\""));
    EXPECT_THAT(dump, HasSubstr("camera \"\": perspective, fieldOfView 60, zNear 1, zFar inf\n"));
    EXPECT_THAT(dump, HasSubstr("light \"Key\": spot, color (1, 0.5, 0.25), intensity 20, "
                                "range 7.5, cone 0.25/0.5\n"));
    EXPECT_THAT(dump, HasSubstr("animation \"translation\": group, 1 animation, duration 5, "
                                "repeat inf\n      keyframes \"position\", 0 values"));
}

TEST(SceneDump, ShowsMatricesThatAreNotDecomposable) {
    auto node = Node::create("Sheared");
    Matrix4 sheared(1.0);
    sheared[1][0] = 0.5;
    node->setTransform(sheared);
    EXPECT_THAT(dumpNode(*node), HasSubstr("transform: matrix (1, 0, 0, 0) (0.5, 1, 0, 0) "
                                           "(0, 0, 1, 0) (0, 0, 0, 1) (not decomposable)"));
}

TEST(Scene, BackgroundCanBeClearedAndValuesRemoved) {
    auto scene = Scene::create();
    scene->background().contents = Color::white(0.5);
    scene->background().clearContents();
    EXPECT_FALSE(scene->background().hasContents());
    scene->setValue("VRMMeta", ValueDictionary{{"title", "Avatar"}});
    EXPECT_NE(scene->value("VRMMeta"), nullptr);
    scene->removeValue("VRMMeta");
    EXPECT_EQ(scene->value("VRMMeta"), nullptr);
}

} // namespace
} // namespace scene
