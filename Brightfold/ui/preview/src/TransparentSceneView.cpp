#include "OrbitCamera.h"
#include "PreparedSceneShelf.h"
#include "PreviewAntialiasing.h"
#include "PreviewSceneContent.h"
#include "QuickObjectFactory.h"

#include <Brightfold/Preview/SoftwareRendering.h>
#include <Brightfold/Preview/TransparentSceneView.h>
#include <QElapsedTimer>
#include <QPointer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuaternion>
#include <QTimer>
#include <QVector3D>
#include <QtQuick3D/QQuick3DObject>
#include <stdexcept>

namespace brightfold::preview {
namespace {

constexpr int animationIntervalMilliseconds = 16;

const QUrl viewportUrl(QStringLiteral("qrc:/Brightfold/Preview/qml/PreviewViewport.qml"));

} // namespace

/// What exists once the item has a QML engine: the 3D viewport, the objects shown in it, the
/// camera and the animation clock.
struct TransparentSceneView::Viewer {
    explicit Viewer(QQmlEngine& engine) : factory(engine) {}

    QuickObjectFactory factory;
    QPointer<QQuickItem> viewport;
    std::unique_ptr<PreviewSceneContent> content;
    OrbitCamera camera;
    QTimer animationTimer;
    QElapsedTimer clock;
};

TransparentSceneView::TransparentSceneView(QQuickItem* parent) : QQuickItem(parent) {}

TransparentSceneView::~TransparentSceneView() = default;

void TransparentSceneView::setScene(std::shared_ptr<scene::Scene> scene) {
    if (scene == scene_) {
        return;
    }
    scene_ = std::move(scene);
    showScene();
    emit sceneChanged();
}

QVariant TransparentSceneView::sceneVariant() const {
    return scene_ ? QVariant::fromValue(scene_) : QVariant();
}

void TransparentSceneView::setSceneVariant(const QVariant& scene) {
    setScene(scene.value<std::shared_ptr<scene::Scene>>());
}

void TransparentSceneView::componentComplete() {
    QQuickItem::componentComplete();
    QQmlEngine* engine = qmlEngine(this);
    if (!engine) {
        setProblems({QStringLiteral("The 3D preview was not created by a QML engine.")});
        return;
    }
    viewer_ = std::make_unique<Viewer>(*engine);
    // Creating from a component that failed to load crashes inside Qt, so check first.
    QQmlComponent component(engine, viewportUrl);
    QObject* made = component.isReady()
                        ? component.createWithInitialProperties(
                              {{QStringLiteral("parent"), QVariant::fromValue<QObject*>(this)},
                               {QStringLiteral("controller"), QVariant::fromValue<QObject*>(this)}})
                        : nullptr;
    viewer_->viewport = qobject_cast<QQuickItem*>(made);
    if (!viewer_->viewport) {
        delete made;
        setProblems({QStringLiteral("The 3D preview could not start: %1")
                         .arg(component.errorString().trimmed())});
        return;
    }
    viewer_->viewport->setParent(this);
    viewer_->viewport->setSize(size());
    if (auto* environment = viewer_->viewport->property("environment").value<QObject*>()) {
        setEnumProperty(*environment, "antialiasingMode", antialiasingModeFor(rendersInSoftware()));
    }
    connect(&viewer_->animationTimer, &QTimer::timeout, this,
            &TransparentSceneView::advanceAnimations);
    showScene();
}

void TransparentSceneView::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) {
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (viewer_ && viewer_->viewport) {
        viewer_->viewport->setSize(newGeometry.size());
    }
}

void TransparentSceneView::showScene() {
    if (!viewer_ || !viewer_->viewport) {
        return;
    }
    viewer_->animationTimer.stop();
    viewer_->content.reset();
    QStringList problems;
    auto* sceneRoot = viewer_->viewport->property("sceneRoot").value<QQuick3DObject*>();
    if (scene_ && sceneRoot) {
        try {
            viewer_->content = std::make_unique<PreviewSceneContent>(
                *scene_, viewer_->factory, *sceneRoot, takePreparedScene(*scene_));
            problems = viewer_->content->problems();
        } catch (const std::runtime_error& error) {
            problems << QString::fromUtf8(error.what());
        }
    }
    viewer_->viewport->setProperty("sceneHasLights",
                                   viewer_->content && viewer_->content->hasLights());
    viewer_->camera.frame(viewer_->content ? viewer_->content->bounds() : Bounds{});
    showCamera();
    setProblems(problems);
    if (viewer_->content && viewer_->content->isAnimated()) {
        // The first picture already shows the first frame, not the pose the scene rests in.
        showAnimationsAt(0.0);
        viewer_->clock.start();
        viewer_->animationTimer.start(animationIntervalMilliseconds);
    }
}

void TransparentSceneView::showAnimationsAt(qreal seconds) {
    if (!viewer_ || !viewer_->content) {
        return;
    }
    viewer_->animationTimer.stop();
    if (viewer_->content->advance(seconds)) {
        setProblems(viewer_->content->problems());
    }
}

void TransparentSceneView::showCamera() {
    QObject* camera = viewer_->viewport->property("orbitCamera").value<QObject*>();
    if (!camera) {
        return;
    }
    const OrbitCamera& orbit = viewer_->camera;
    const glm::dvec3 position = orbit.position();
    const glm::dquat rotation = orbit.rotation();
    camera->setProperty("position", QVector3D(position.x, position.y, position.z));
    camera->setProperty("rotation", QQuaternion(rotation.w, rotation.x, rotation.y, rotation.z));
    camera->setProperty("clipNear", orbit.clipNear());
    camera->setProperty("clipFar", orbit.clipFar());
    camera->setProperty("fieldOfView", OrbitCamera::fieldOfViewDegrees);
}

void TransparentSceneView::advanceAnimations() {
    if (viewer_->content->advance(viewer_->clock.elapsed() / 1000.0)) {
        setProblems(viewer_->content->problems());
    }
}

void TransparentSceneView::setProblems(QStringList problems) {
    if (problems != problems_) {
        problems_ = std::move(problems);
        emit problemsChanged();
    }
}

void TransparentSceneView::orbitBy(qreal dx, qreal dy) {
    if (viewer_ && viewer_->viewport) {
        viewer_->camera.orbit(dx, dy, height());
        showCamera();
    }
}

void TransparentSceneView::panBy(qreal dx, qreal dy) {
    if (viewer_ && viewer_->viewport) {
        viewer_->camera.pan(dx, dy, height());
        showCamera();
    }
}

void TransparentSceneView::zoomBy(qreal factor) {
    if (viewer_ && viewer_->viewport) {
        viewer_->camera.zoom(factor);
        showCamera();
    }
}

} // namespace brightfold::preview
