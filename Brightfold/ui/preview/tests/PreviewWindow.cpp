#include "PreviewWindow.h"

#include <Brightfold/Preview/RenderingSetup.h>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Brightfold_PreviewPlugin)

namespace brightfold::preview::fixtures {
namespace {

constexpr const char* windowSource = R"(
import QtQuick
import Brightfold.Preview
Window {
    width: 320
    height: 240
    color: "transparent"
    visible: true
    TransparentSceneView { objectName: "preview"; anchors.fill: parent }
}
)";

} // namespace

bool startRenderingApplication() {
    static QGuiApplication* application = nullptr;
    if (application || qEnvironmentVariableIsEmpty("DISPLAY")) {
        return application != nullptr;
    }
    brightfold::preview::prepareRenderingBeforeApplication();
    static int argc = 1;
    static char name[] = "BrightfoldPreview";
    static char* argv[] = {name, nullptr};
    application = new QGuiApplication(argc, argv);
    brightfold::preview::prepareSurfaceFormat();
    return true;
}

PreviewWindow openPreviewWindow() {
    PreviewWindow opened;
    opened.engine = std::make_unique<QQmlEngine>();
    QQmlComponent component(opened.engine.get());
    component.setData(windowSource, QUrl(QStringLiteral("qrc:/test/window.qml")));
    opened.window.reset(qobject_cast<QQuickWindow*>(component.create()));
    if (!opened.window) {
        opened.error = component.errorString();
        return opened;
    }
    opened.view = opened.window->findChild<TransparentSceneView*>(QStringLiteral("preview"));
    if (!opened.view) {
        opened.error = QStringLiteral("the window has no preview");
    } else if (!opened.view->problems().isEmpty()) {
        opened.error = opened.view->problems().join(' ');
    }
    return opened;
}

} // namespace brightfold::preview::fixtures
