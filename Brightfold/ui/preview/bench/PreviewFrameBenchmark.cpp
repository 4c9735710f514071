// Frame time of the preview showing a lit 100 000-triangle mesh while the user orbits, on
// whatever OpenGL the display offers (Mesa's llvmpipe under Xvfb). Run it under xvfb-run.
#include "GridMesh.h"
#include "PreviewWindow.h"

#include <QEventLoop>
#include <QTimer>
#include <SceneGraph/Material.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <benchmark/benchmark.h>

namespace brightfold::preview {
namespace {

std::shared_ptr<scene::Scene> litGridScene() {
    auto material = scene::Material::create();
    material->lightingModel = scene::LightingModel::physicallyBased;
    material->diffuse().contents = scene::Color{0.8, 0.5, 0.2, 1.0};
    auto geometry = gridMesh(0.0f);
    geometry->setMaterials({material});
    auto node = scene::Node::create("grid");
    node->setGeometry(geometry);
    auto scene = scene::Scene::create();
    scene->rootNode()->addChildNode(node);
    return scene;
}

// Waits for the next frame to reach the screen; gives up after two seconds.
void waitForFrame(QQuickWindow& window) {
    QEventLoop loop;
    QObject::connect(&window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit);
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    window.update();
    loop.exec();
}

void renderWhileOrbiting(benchmark::State& state) {
    if (!fixtures::startRenderingApplication()) {
        state.SkipWithError("no display: run under xvfb-run");
        return;
    }
    fixtures::PreviewWindow opened = fixtures::openPreviewWindow();
    if (!opened.error.isEmpty()) {
        state.SkipWithError(opened.error.toStdString().c_str());
        return;
    }
    opened.view->setScene(litGridScene());
    for (int warmUp = 0; warmUp < 5; ++warmUp) {
        waitForFrame(*opened.window);
    }
    for (auto _ : state) {
        opened.view->orbitBy(2.0, 0.5);
        waitForFrame(*opened.window);
    }
}
BENCHMARK(renderWhileOrbiting)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace brightfold::preview
