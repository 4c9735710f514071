#include "ConvertWithoutWindow.h"

#include "TemporaryPackages.h"

#include <Brightfold/SceneServices.h>
#include <Brightfold/Ui/ApplicationSetup.h>
#include <Brightfold/Ui/ConversionWithoutWindow.h>
#include <Brightfold/Ui/DesktopNotification.h>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cstdio>

namespace {

using brightfold::ui::BesideResult;

void printResult(const BesideResult& result) {
    if (result.converted) {
        std::printf("%s -> %s (%zu notes)\n", result.source.c_str(), result.package.c_str(),
                    result.noteCount);
    } else {
        std::printf("%s: failed: %s\n", result.source.c_str(), result.failure.c_str());
    }
}

// The window converts the file again and shows its error screen, with the whole message.
void openWindowOn(const std::filesystem::path& file) {
    if (!QProcess::startDetached(QCoreApplication::applicationFilePath(),
                                 {QFile::decodeName(file.c_str())})) {
        std::fprintf(stderr, "brightfold: the window could not be opened on %s\n", file.c_str());
    }
}

} // namespace

int convertWithoutWindow(int argc, char* argv[], const std::vector<std::filesystem::path>& files) {
    QCoreApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Brightfold"));
    application.setApplicationVersion(QString::fromLatin1(brightfold::ui::applicationVersion));
    const std::unique_ptr<brightfold::RunFolder> runFolder = makeRunFolder();
    const std::vector<BesideResult> results = brightfold::ui::convertBeside(
        files,
        brightfold::makeSceneServices(runFolder ? runFolder->path() : std::filesystem::path()),
        &application);
    std::for_each(results.begin(), results.end(), printResult);
    const auto text = brightfold::ui::notificationFor(results);
    brightfold::ui::showDesktopNotification(text.summary, text.body);
    const auto failed = std::find_if(results.begin(), results.end(),
                                     [](const BesideResult& result) { return !result.converted; });
    if (failed == results.end()) {
        return 0;
    }
    openWindowOn(failed->source);
    return 1;
}
