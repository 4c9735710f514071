#include <Brightfold/Preview/RenderingSetup.h>
#include <Brightfold/Ui/AppBridge.h>
#include <Brightfold/Ui/ApplicationSetup.h>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QQuickWindow>

namespace brightfold::ui {

void prepareGraphicsBeforeApplication() {
    preview::prepareRenderingBeforeApplication();
}

void prepareApplication(QGuiApplication& application) {
    application.setApplicationName(QStringLiteral("Brightfold"));
    application.setApplicationDisplayName(QStringLiteral("Brightfold"));
    application.setApplicationVersion(QString::fromLatin1(applicationVersion));
    application.setOrganizationName(QStringLiteral("Varlo, Inc."));
    application.setDesktopFileName(QStringLiteral("brightfold"));
    preview::prepareSurfaceFormat();
    // The desktop's own style would draw dark text on the dark card.
    QQuickStyle::setStyle(QStringLiteral("Basic"));
}

void prepareEngine(QQmlEngine& engine) {
    engine.addImportPath(QStringLiteral("qrc:/"));
}

QQuickWindow* loadMainWindow(QQmlApplicationEngine& engine, AppBridge& bridge) {
    prepareEngine(engine);
    engine.setInitialProperties({{QStringLiteral("bridge"), QVariant::fromValue(&bridge)}});
    engine.load(QUrl(QStringLiteral("qrc:/Brightfold/Ui/qml/Main.qml")));
    const QList<QObject*> roots = engine.rootObjects();
    return roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow*>(roots.first());
}

} // namespace brightfold::ui
