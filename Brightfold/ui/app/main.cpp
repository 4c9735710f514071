#include "ConvertWithoutWindow.h"
#include "TemporaryPackages.h"

#include <Brightfold/SceneServices.h>
#include <Brightfold/Ui/AppBridge.h>
#include <Brightfold/Ui/ApplicationSetup.h>
#include <Brightfold/Ui/CommandLine.h>
#include <Brightfold/Ui/PreviewPreparingServices.h>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QtQml/qqmlextensionplugin.h>
#include <cstdio>
#include <exception>
#include <memory>

Q_IMPORT_QML_PLUGIN(Brightfold_UiPlugin)
Q_IMPORT_QML_PLUGIN(Brightfold_PreviewPlugin)

namespace {

using brightfold::ui::CommandLine;

QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

// --help and --version answer before any window system is needed, so they work on a
// terminal without a display.
bool answeredOnTheTerminal(const CommandLine& command) {
    if (command.action != CommandLine::Action::PrintHelp &&
        command.action != CommandLine::Action::PrintVersion) {
        return false;
    }
    std::fputs(command.text.toLocal8Bit().constData(), stdout);
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    using namespace brightfold::ui;
    const CommandLine given = parseCommandLine(argumentsOf(argc, argv));
    if (answeredOnTheTerminal(given)) {
        return 0;
    }
    if (given.action == CommandLine::Action::ConvertWithoutWindow) {
        return convertWithoutWindow(argc, argv, given.files);
    }
    prepareGraphicsBeforeApplication();
    QGuiApplication application(argc, argv);
    prepareApplication(application);
    // Parsed again without the options Qt took for itself.
    const CommandLine command = parseCommandLine(application.arguments());
    if (command.action == CommandLine::Action::Refuse) {
        std::fputs(command.text.toLocal8Bit().constData(), stderr);
        return 2;
    }

    const std::unique_ptr<brightfold::RunFolder> runFolder = makeRunFolder();
    AppBridge bridge(std::make_shared<PreviewPreparingServices>(
        brightfold::makeSceneServices(runFolder ? runFolder->path() : std::filesystem::path())));
    QQmlApplicationEngine engine;
    if (loadMainWindow(engine, bridge) == nullptr) {
        std::fputs("Brightfold could not open its window: part of its Qt installation is missing "
                   "(see the messages above).\n",
                   stderr);
        return 1;
    }
    bridge.openFiles(command.files, command.mode);
    return application.exec();
}
