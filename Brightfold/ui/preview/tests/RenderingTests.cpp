// Shows scenes in a real window and checks the grabbed pixels. Needs a display with OpenGL
// (Xvfb with Mesa's llvmpipe in CI); the grabs are saved under the build folder.
#include "CorpusFiles.h"
#include "PreviewAntialiasing.h"
#include "PreviewWindow.h"
#include "QuickObjectFactory.h"
#include "SceneBuilding.h"
#include "SceneReaderTestSupport.h"

#include <Brightfold/Preview/ScenePreparation.h>
#include <Brightfold/Preview/SoftwareRendering.h>
#include <Brightfold/Preview/TransparentSceneView.h>
#include <GLTFReader/GLTFSceneSource.h>
#include <QDir>
#include <QImage>
#include <QMetaProperty>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QTest>
#include <SceneGraph/Image.h>
#include <SceneGraph/Light.h>
#include <SceneGraph/Node.h>
#include <USD/scene_writer/SceneWriter.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace brightfold::preview {
namespace {

using namespace fixtures;

class PreviewRendering : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!startRenderingApplication()) {
            GTEST_SKIP() << "no display: run the UI tests under xvfb-run";
        }
        opened_ = openPreviewWindow();
        ASSERT_TRUE(opened_.error.isEmpty()) << opened_.error.toStdString();
        window_ = opened_.window.get();
        view_ = opened_.view;
    }

    /// Grabs the window until `done` holds for the picture or five seconds have passed.
    QImage grabUntil(const std::function<bool(const QImage&)>& done) {
        QImage picture;
        // The caller judges the last picture; a timeout only ends the waiting.
        static_cast<void>(QTest::qWaitFor(
            [&] {
                picture = window_->grabWindow();
                return !picture.isNull() && done(picture);
            },
            5000));
        return picture;
    }

    static void save(const QImage& picture, const QString& name) {
        const QString folder = QStringLiteral(BRIGHTFOLD_BINARY_DIR "/preview-grabs");
        QDir().mkpath(folder);
        picture.save(folder + "/" + name + ".png");
    }

    PreviewWindow opened_;
    QQuickWindow* window_ = nullptr;
    TransparentSceneView* view_ = nullptr;
};

bool isTransparent(const QImage& picture, int x, int y) {
    return picture.pixelColor(x, y).alpha() == 0;
}

/// A 2 × 2 image: top row red, bottom row blue.
std::shared_ptr<scene::Image> redOverBlue() {
    QImage image(2, 2, QImage::Format_RGBA8888);
    image.setPixelColor(0, 0, Qt::red);
    image.setPixelColor(1, 0, Qt::red);
    image.setPixelColor(0, 1, Qt::blue);
    image.setPixelColor(1, 1, Qt::blue);
    return scene::Image::fromEncodedBytes(pngBytes(image));
}

std::shared_ptr<scene::Scene> unlitQuadScene(const scene::MaterialProperty& diffuse) {
    auto material = scene::Material::create();
    material->lightingModel = scene::LightingModel::constant;
    material->blendMode = scene::BlendMode::replace;
    material->diffuse() = diffuse;
    auto geometry = quad();
    geometry->setMaterials({material});
    auto node = scene::Node::create("quad");
    node->setGeometry(geometry);
    auto scene = scene::Scene::create();
    scene->rootNode()->addChildNode(node);
    return scene;
}

TEST_F(PreviewRendering, TexturedQuadAppearsUprightOverATransparentBackground) {
    auto texture = scene::MaterialProperty::withContents(redOverBlue());
    texture.magnificationFilter = scene::FilterMode::nearest;
    view_->setScene(unlitQuadScene(texture));
    const auto shown = [](const QImage& picture) {
        return picture.pixelColor(160, 80).red() > 200 && picture.pixelColor(160, 160).blue() > 200;
    };
    const QImage picture = grabUntil(shown);
    save(picture, "textured-quad");
    EXPECT_TRUE(shown(picture)) << "top " << picture.pixelColor(160, 80).name().toStdString()
                                << ", bottom " << picture.pixelColor(160, 160).name().toStdString();
    EXPECT_EQ(picture.pixelColor(160, 80).alpha(), 255);
    EXPECT_TRUE(isTransparent(picture, 2, 2));
    EXPECT_TRUE(isTransparent(picture, 317, 237));
    EXPECT_TRUE(view_->problems().isEmpty());

    view_->setScene(nullptr);
    const QImage cleared = grabUntil([](const QImage& p) { return isTransparent(p, 160, 120); });
    EXPECT_TRUE(isTransparent(cleared, 160, 120));
}

/// The GL_RENDERER of the window's own context; empty when it has none within five seconds.
std::string windowRendererName(QQuickWindow& window) {
    QOpenGLContext* context = nullptr;
    static_cast<void>(QTest::qWaitFor(
        [&] {
            context = static_cast<QOpenGLContext*>(window.rendererInterface()->getResource(
                &window, QSGRendererInterface::OpenGLContextResource));
            return context != nullptr;
        },
        5000));
    if (!context || !context->makeCurrent(&window)) {
        return {};
    }
    const auto* name =
        reinterpret_cast<const char*>(context->functions()->glGetString(GL_RENDERER));
    return name != nullptr ? name : "";
}

QObject* environmentOf(TransparentSceneView& view) {
    for (QObject* child : view.children()) {
        if (auto* environment = child->property("environment").value<QObject*>()) {
            return environment;
        }
    }
    return nullptr;
}

std::string enumKey(const QObject& object, const char* property) {
    const QMetaObject* type = object.metaObject();
    const QMetaProperty metaProperty = type->property(type->indexOfProperty(property));
    return metaProperty.enumerator().valueToKey(metaProperty.read(&object).toInt());
}

// What was found before any window existed must be the renderer the window really got, the
// view must have taken the antialiasing chosen for it, and both choices must be modes the
// environment knows (a name it does not know would be ignored without a word).
TEST_F(PreviewRendering, AntialiasingIsChosenForTheRendererTheWindowGot) {
    const std::string renderer = windowRendererName(*window_);
    ASSERT_FALSE(renderer.empty()) << "the window has no OpenGL context";
    EXPECT_EQ(rendersInSoftware(), isSoftwareRenderer(renderer)) << renderer;

    QObject* environment = environmentOf(*view_);
    ASSERT_NE(environment, nullptr);
    EXPECT_EQ(enumKey(*environment, "antialiasingMode"), antialiasingModeFor(rendersInSoftware()));
    for (const bool software : {false, true}) {
        EXPECT_TRUE(
            setEnumProperty(*environment, "antialiasingMode", antialiasingModeFor(software)));
        EXPECT_EQ(enumKey(*environment, "antialiasingMode"), antialiasingModeFor(software));
    }
}

// A scene prepared on another thread must look, and report what it leaves out, exactly as
// one the view prepares itself.
TEST_F(PreviewRendering, PreparedSceneLooksAndReportsAsOneMadeInTheView) {
    auto texture = scene::MaterialProperty::withContents(redOverBlue());
    texture.magnificationFilter = scene::FilterMode::nearest;
    const auto scene = unlitQuadScene(texture);
    auto broken = scene::Node::create("broken");
    broken->setGeometry(
        scene::Geometry::create(quad()->sources(), {element<std::uint8_t>({0, 1, 9})}));
    scene->rootNode()->addChildNode(broken);
    const auto shown = [](const QImage& picture) {
        return picture.pixelColor(160, 80).red() > 200 && picture.pixelColor(160, 160).blue() > 200;
    };

    view_->setScene(scene);
    const QImage madeInTheView = grabUntil(shown);
    const QStringList problemsInTheView = view_->problems();
    view_->setScene(nullptr);
    grabUntil([](const QImage& p) { return isTransparent(p, 160, 120); });

    prepareForPreview(scene);
    view_->setScene(scene);
    const QImage prepared = grabUntil(shown);
    save(prepared, "prepared-quad");
    EXPECT_TRUE(shown(prepared));
    EXPECT_EQ(prepared, madeInTheView);
    ASSERT_EQ(problemsInTheView.size(), 1);
    EXPECT_EQ(view_->problems(), problemsInTheView);
}

// A linear 0.5 grey factor must come out as sRGB 188 on screen, not brighter or darker.
TEST_F(PreviewRendering, ColourFactorsAreLinear) {
    view_->setScene(
        unlitQuadScene(scene::MaterialProperty::withContents(scene::Color::white(0.5))));
    const QImage picture = grabUntil([](const QImage& p) { return !isTransparent(p, 160, 120); });
    save(picture, "linear-grey-quad");
    EXPECT_NEAR(picture.pixelColor(160, 120).red(), 188, 6);
}

// A mirrored node turns its triangles' winding around; its faces must still be the ones shown.
TEST_F(PreviewRendering, MirroredMeshKeepsItsFrontFaces) {
    auto scene = unlitQuadScene(scene::MaterialProperty::withContents(scene::Color::white(1.0)));
    scene->rootNode()->childNodes()[0]->setScale({-1.0, 1.0, 1.0});
    view_->setScene(scene);
    const QImage picture = grabUntil([](const QImage& p) { return !isTransparent(p, 160, 120); });
    save(picture, "mirrored-quad");
    EXPECT_FALSE(isTransparent(picture, 160, 120));
}

/// A white matte quad lit only by `light`, held by a node `placement` puts in front of it.
std::shared_ptr<scene::Scene> quadLitBy(std::shared_ptr<scene::Light> light,
                                        const std::function<void(scene::Node&)>& placement) {
    auto material = scene::Material::create();
    material->lightingModel = scene::LightingModel::physicallyBased;
    material->metalness().contents = 0.0;
    material->roughness().contents = 1.0;
    auto scene = unlitQuadScene(scene::MaterialProperty::withContents(scene::Color::white(1)));
    scene->rootNode()->childNodes()[0]->geometry()->setMaterials({material});
    auto lamp = scene::Node::create("lamp");
    lamp->setLight(std::move(light));
    placement(*lamp);
    scene->rootNode()->addChildNode(lamp);
    return scene;
}

// The scene's lights replace the default ones: a red sun tints the quad red, and a spot that
// shines down its node's −Z axis lights the quad in front of it but not the one behind it.
TEST_F(PreviewRendering, SceneLightsReplaceTheDefaultOnes) {
    auto sun = scene::Light::create();
    sun->type = scene::LightType::directional;
    sun->color = {1, 0, 0};
    sun->intensity = 2;
    view_->setScene(quadLitBy(sun, [](scene::Node&) {}));
    const auto drawn = [](const QImage& p) { return !isTransparent(p, 160, 120); };
    const QImage red = grabUntil(drawn);
    save(red, "quad-under-red-sun");
    const QColor tint = red.pixelColor(160, 120);
    EXPECT_GT(tint.red(), 100) << tint.name().toStdString();
    EXPECT_LT(tint.green(), 10) << tint.name().toStdString();
    EXPECT_LT(tint.blue(), 10) << tint.name().toStdString();

    auto spot = scene::Light::create();
    spot->type = scene::LightType::spot;
    spot->intensity = 8; // 2 lux at 2 units
    spot->outerConeAngle = 1.2;
    view_->setScene(quadLitBy(spot, [](scene::Node& lamp) { lamp.setPosition({0, 0, 2}); }));
    const QImage lit = grabUntil(drawn);
    save(lit, "quad-under-spot");
    EXPECT_GT(lit.pixelColor(160, 120).value(), 100)
        << lit.pixelColor(160, 120).name().toStdString();

    view_->setScene(quadLitBy(spot, [](scene::Node& lamp) {
        lamp.setPosition({0, 0, 2});
        lamp.setOrientation(scene::quaternionFromXYZW(0, 1, 0, 0)); // shining away, down +Z
    }));
    const QImage dark = grabUntil(drawn);
    save(dark, "quad-behind-spot");
    EXPECT_LT(dark.pixelColor(160, 120).value(), 20)
        << dark.pixelColor(160, 120).name().toStdString();
}

bool drawnInTheMiddle(const QImage& picture) {
    const QColor center = picture.pixelColor(160, 120);
    return center.alpha() == 255 && center.value() > 40;
}

// Real files: textures, morph targets animated on the CPU, skins, blending and two UV sets.
// Each must be drawn in the middle of the view, leave the corners clear, and report nothing
// missing.
TEST_F(PreviewRendering, CorpusModelsAreFramedInTheMiddleOfTheView) {
    for (const char* model :
         {"BoxTextured/BoxTextured.gltf", "AnimatedMorphCube/AnimatedMorphCube.gltf",
          "blender-03_skinned_cylinder/03_skinned_cylinder.gltf", "MultiUVTest/MultiUVTest.gltf",
          "CesiumMilkTruck/CesiumMilkTruck.gltf"}) {
        SCOPED_TRACE(model);
        const std::filesystem::path file = brightfold::testing::corpus / "gltf" / model;
        if (!std::filesystem::exists(file)) {
            GTEST_SKIP() << "../shared not found: " << file;
        }
        view_->setScene(GLTFSceneSource(file).sceneWithOptions());
        const QImage picture = grabUntil(drawnInTheMiddle);
        save(picture, QString::fromStdString("corpus-" + file.stem().string()));
        EXPECT_TRUE(drawnInTheMiddle(picture))
            << picture.pixelColor(160, 120).name(QColor::HexArgb).toStdString();
        EXPECT_TRUE(isTransparent(picture, 2, 2));
        EXPECT_TRUE(isTransparent(picture, 317, 2));
        EXPECT_TRUE(view_->problems().isEmpty()) << view_->problems().join(' ').toStdString();
    }
}

bool drawnAnywhere(const QImage& picture) {
    for (int y = 0; y < picture.height(); y += 4) {
        for (int x = 0; x < picture.width(); x += 4) {
            if (!isTransparent(picture, x, y)) {
                return true;
            }
        }
    }
    return false;
}

// Packages read back as the app reads them: a skinned walk and a turning node each show a
// different picture at two moments of their loop, and nothing is reported missing.
TEST_F(PreviewRendering, ReadBackPackagesMoveBetweenTwoMoments) {
    for (const auto& [model, first, second] :
         {std::tuple{"CesiumMan/CesiumMan.usdz", 0.2, 0.9},
          std::tuple{"AnimatedTriangle/AnimatedTriangle.usdz", 0.0, 0.25}}) {
        SCOPED_TRACE(model);
        const std::filesystem::path file = brightfold::testing::corpus / "usd" / model;
        if (!std::filesystem::exists(file)) {
            GTEST_SKIP() << "../shared not found: " << file;
        }
        view_->setScene(usd::readUSDZ(file));
        view_->showAnimationsAt(first);
        const QImage before = grabUntil(drawnAnywhere);
        view_->showAnimationsAt(second);
        const QImage after = grabUntil([&](const QImage& p) { return p != before; });
        const QString name = QString::fromStdString(file.stem().string());
        save(before, "motion-" + name + "-first");
        save(after, "motion-" + name + "-second");
        EXPECT_TRUE(drawnAnywhere(before));
        EXPECT_NE(before, after);
        EXPECT_TRUE(view_->problems().isEmpty()) << view_->problems().join(' ').toStdString();
    }
}

// A quad whose blend shape stretches it upwards, its weight going from 0 to 1 over a second.
usd::Layer stretchingQuad() {
    using namespace usd;
    Layer layer = test::metreLayer();
    LayerBuilder build(layer);
    const Path root = build.definePrim(Path::fromString("/Root"), "SkelRoot");
    const Path mesh = test::defineQuad(build, "/Root/Face");
    const Path shape = build.definePrim(mesh.appendChild("Stretch"), "BlendShape");
    build.addAttribute(shape, "offsets",
                       {"vector3f[]", Array<Vec3f>{{0, 1, 0}, {0, 1, 0}}, Variability::Uniform});
    build.addAttribute(shape, "pointIndices",
                       {"int[]", Array<std::int32_t>{2, 3}, Variability::Uniform});
    build.addAttribute(mesh, "skel:blendShapes",
                       {"token[]", Array<Token>{{"Stretch"}}, Variability::Uniform});
    build.addRelationship(mesh, "skel:blendShapeTargets", {shape});
    const Path animation = build.definePrim(root.appendChild("Anim"), "SkelAnimation");
    build.addAttribute(animation, "blendShapes",
                       {"token[]", Array<Token>{{"Stretch"}}, Variability::Uniform});
    build.setTimeSamples(build.addAttribute(animation, "blendShapeWeights", {"float[]"}),
                         {{0, 24}, {Value(Array<float>{0}), Value(Array<float>{1})}});
    build.addRelationship(root, "skel:animationSource", {animation});
    return layer;
}

TEST_F(PreviewRendering, ReadBackBlendShapeWeightsMoveTheShape) {
    view_->setScene(usd::test::readLayer(stretchingQuad()).scene);
    view_->showAnimationsAt(0.0);
    const QImage before = grabUntil(drawnAnywhere);
    view_->showAnimationsAt(0.9);
    const QImage after = grabUntil([&](const QImage& p) { return p != before; });
    save(before, "motion-stretching-quad-first");
    save(after, "motion-stretching-quad-second");
    EXPECT_TRUE(drawnAnywhere(before));
    EXPECT_NE(before, after);
    EXPECT_TRUE(view_->problems().isEmpty()) << view_->problems().join(' ').toStdString();
}

// `scene` as the app shows a converted file: written as a package and read back.
std::shared_ptr<scene::Scene> throughAPackage(const scene::Scene& scene, const std::string& name) {
    const auto package = std::filesystem::temp_directory_path() / (name + ".usdz");
    const usd::USDZWriteResult written = usd::writeUSDZ(scene, package);
    EXPECT_TRUE(written.succeeded) << written.failure;
    return usd::readUSDZ(package);
}

// Packages look in the preview as their sources do: an unlit grey quad stays flat (linear 0.5
// is sRGB 188 all over it, lighter nowhere), and a quad's vertex colours, red along its bottom
// edge and blue along its top one, show through its white material.
TEST_F(PreviewRendering, PackagesShowUnlitSurfacesFlatAndTheirVertexColours) {
    const auto grey = scene::MaterialProperty::withContents(scene::Color::white(0.5));
    view_->setScene(throughAPackage(*unlitQuadScene(grey), "unlit-grey"));
    const QImage flat = grabUntil([](const QImage& p) { return !isTransparent(p, 160, 120); });
    save(flat, "package-unlit-grey");
    for (const QPoint at : {QPoint(160, 120), QPoint(120, 90), QPoint(200, 150)})
        EXPECT_NEAR(flat.pixelColor(at).red(), 188, 6) << at.x() << ", " << at.y();

    auto colored = unlitQuadScene(scene::MaterialProperty::withContents(scene::Color::white(1)));
    scene::Node& node = *colored->rootNode()->childNodes()[0];
    auto sources = node.geometry()->sources();
    sources.push_back(fixtures::floatSource<3>(scene::GeometrySemantic::color,
                                               {{1, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, 0, 1}}));
    auto geometry = scene::Geometry::create(sources, node.geometry()->elements());
    geometry->setMaterials(node.geometry()->materials());
    node.setGeometry(geometry);
    view_->setScene(throughAPackage(*colored, "vertex-colours"));
    const QImage tinted = grabUntil([](const QImage& p) { return !isTransparent(p, 160, 120); });
    save(tinted, "package-vertex-colours");
    const QColor bottom = tinted.pixelColor(170, 170);
    const QColor top = tinted.pixelColor(170, 60);
    EXPECT_GT(bottom.red(), bottom.blue() + 100);
    EXPECT_GT(top.blue(), top.red() + 100);
    EXPECT_TRUE(view_->problems().isEmpty()) << view_->problems().join(' ').toStdString();
}

} // namespace
} // namespace brightfold::preview
