#include <Brightfold/Preview/RenderingSetup.h>
#include <Brightfold/Preview/SoftwareRendering.h>
#include <QQuickWindow>
#include <QSurfaceFormat>
#include <QtQuick3D/qquick3d.h>

namespace brightfold::preview {

void prepareRenderingBeforeApplication() {
    if (!qEnvironmentVariableIsSet("QSG_RENDER_LOOP")) {
        qputenv("QSG_RENDER_LOOP", "basic");
    }
    QQuickWindow::setGraphicsApi(QSGRendererInterface::OpenGL);
    QQuickWindow::setDefaultAlphaBuffer(true);
}

void prepareSurfaceFormat() {
    QSurfaceFormat format = QQuick3D::idealSurfaceFormat();
    format.setAlphaBufferSize(8);
    QSurfaceFormat::setDefaultFormat(format);
    detectSoftwareRendering();
}

} // namespace brightfold::preview
