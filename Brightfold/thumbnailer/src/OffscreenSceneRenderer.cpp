#include "OffscreenSceneRenderer.h"

#include <Brightfold/Preview/TransparentSceneView.h>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickGraphicsDevice>
#include <QQuickRenderControl>
#include <QQuickRenderTarget>
#include <QQuickWindow>
#include <stdexcept>

namespace brightfold::thumbnailer {
namespace {

// Drawn at twice the size and scaled down: smooth edges whatever antialiasing the renderer
// offers, for a quarter of a second of software rendering at the sizes file managers ask for.
constexpr int supersampling = 2;
// Textures reach the renderer during the first frame; the second shows them everywhere.
constexpr int framesDrawn = 2;

const char* const viewSource = R"(
import Brightfold.Preview
TransparentSceneView {}
)";

} // namespace

/// The OpenGL context, the texture drawn into and the window that draws the view there.
struct OffscreenSceneRenderer::Target {
    int side = 0;
    QOpenGLContext context;
    QOffscreenSurface surface;
    GLuint texture = 0;
    QQuickRenderControl control;
    QQuickWindow window{&control};
    QQmlEngine engine;

    void makeCurrent() {
        if (!context.makeCurrent(&surface)) {
            throw std::runtime_error("the OpenGL context could not be used");
        }
    }
};

OffscreenSceneRenderer::OffscreenSceneRenderer(int side) : target_(std::make_unique<Target>()) {
    Target& target = *target_;
    target.side = side * supersampling;
    target.context.setFormat(QSurfaceFormat::defaultFormat());
    if (!target.context.create()) {
        throw std::runtime_error("no OpenGL context could be made for drawing");
    }
    target.surface.setFormat(target.context.format());
    target.surface.create();
    target.makeCurrent();
    QOpenGLFunctions* gl = target.context.functions();
    gl->glGenTextures(1, &target.texture);
    gl->glBindTexture(GL_TEXTURE_2D, target.texture);
    gl->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, target.side, target.side, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, nullptr);
    target.window.setColor(Qt::transparent);
    target.window.setGeometry(0, 0, target.side, target.side);
    target.window.setGraphicsDevice(QQuickGraphicsDevice::fromOpenGLContext(&target.context));
    if (!target.control.initialize()) {
        throw std::runtime_error("Qt Quick could not draw with the OpenGL context");
    }
    target.window.setRenderTarget(
        QQuickRenderTarget::fromOpenGLTexture(target.texture, QSize(target.side, target.side)));
}

OffscreenSceneRenderer::~OffscreenSceneRenderer() {
    if (target_->context.makeCurrent(&target_->surface)) {
        target_->context.functions()->glDeleteTextures(1, &target_->texture);
    }
}

namespace {

std::unique_ptr<preview::TransparentSceneView> makeView(QQmlEngine& engine, QQuickWindow& window) {
    QQmlComponent component(&engine);
    component.setData(viewSource, QUrl(QStringLiteral("qrc:/thumbnailer/view.qml")));
    std::unique_ptr<QObject> made(component.create());
    std::unique_ptr<preview::TransparentSceneView> view(
        qobject_cast<preview::TransparentSceneView*>(made.get()));
    if (!view) {
        throw std::runtime_error("the 3D view could not be made: " +
                                 component.errorString().trimmed().toStdString());
    }
    made.release();
    view->setParentItem(window.contentItem());
    view->setSize(window.size());
    return view;
}

QImage readBack(QOpenGLFunctions& gl, GLuint texture, int side) {
    GLuint framebuffer = 0;
    gl.glGenFramebuffers(1, &framebuffer);
    gl.glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    gl.glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    QImage picture(side, side, QImage::Format_RGBA8888_Premultiplied);
    gl.glReadPixels(0, 0, side, side, GL_RGBA, GL_UNSIGNED_BYTE, picture.bits());
    gl.glBindFramebuffer(GL_FRAMEBUFFER, 0);
    gl.glDeleteFramebuffers(1, &framebuffer);
    // OpenGL's rows run from the bottom up.
    return picture.mirrored();
}

} // namespace

QImage OffscreenSceneRenderer::render(const SceneHandle& scene, QStringList& problems) {
    Target& target = *target_;
    const std::unique_ptr<preview::TransparentSceneView> view =
        makeView(target.engine, target.window);
    view->setScene(scene);
    view->showAnimationsAt(0.0);
    for (int frame = 0; frame < framesDrawn; ++frame) {
        target.control.polishItems();
        target.control.beginFrame();
        target.control.sync();
        target.control.render();
        target.control.endFrame();
    }
    problems = view->problems();
    target.makeCurrent();
    const QImage drawn = readBack(*target.context.functions(), target.texture, target.side);
    const int side = target.side / supersampling;
    return drawn.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

} // namespace brightfold::thumbnailer
