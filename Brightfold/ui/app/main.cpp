#include <Brightfold/SceneServices.h>
#include <Brightfold/Ui/AppBridge.h>
#include <Brightfold/Ui/ApplicationSetup.h>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QtQml/qqmlextensionplugin.h>
#include <cstdio>

Q_IMPORT_QML_PLUGIN(Brightfold_UiPlugin)
Q_IMPORT_QML_PLUGIN(Brightfold_PreviewPlugin)

int main(int argc, char* argv[]) {
    using namespace brightfold::ui;
    prepareGraphicsBeforeApplication();
    QGuiApplication application(argc, argv);
    prepareApplication(application);

    AppBridge bridge(brightfold::makeSceneServices());
    QQmlApplicationEngine engine;
    if (loadMainWindow(engine, bridge) == nullptr) {
        std::fputs("Brightfold could not open its window: part of its Qt installation is missing "
                   "(see the messages above).\n",
                   stderr);
        return 1;
    }
    return application.exec();
}
