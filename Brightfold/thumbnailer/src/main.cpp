// brightfold-thumbnailer -s SIZE INPUT OUTPUT.png: a picture of a model for file managers.
#include "HeadlessGraphics.h"
#include "OffscreenSceneRenderer.h"
#include "PictureFile.h"
#include "ThumbnailRequest.h"
#include "ThumbnailScene.h"
#include "TimeLimit.h"

#include <Brightfold/Manual/References.h>
#include <Brightfold/Preview/RenderingSetup.h>
#include <Brightfold/SceneServices.h>
#include <GLTFReader/ConsoleOutput.h>
#include <QGuiApplication>
#include <QtQml/qqmlextensionplugin.h>
#include <cstdio>
#include <exception>

Q_IMPORT_QML_PLUGIN(Brightfold_PreviewPlugin)

namespace {

using namespace brightfold::thumbnailer;

constexpr unsigned timeLimitSeconds = 30;

// Qt's own chatter about EGL configurations and software rendering means nothing to a file
// manager; what went wrong is reported by the program itself.
void dropQtMessagesBelowCritical(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "brightfold-thumbnailer: %s\n", qPrintable(text));
    }
}

int drawThumbnail(int argc, char** argv, const ThumbnailRequest& request) {
    gltf::redirectConsoleLines([](std::string_view) {});
    const auto services = brightfold::makeSceneServices();
    const brightfold::SceneHandle scene = loadThumbnailScene(request.input, *services);
    chooseHeadlessGraphics();
    qInstallMessageHandler(dropQtMessagesBelowCritical);
    brightfold::preview::prepareRenderingBeforeApplication();
    QGuiApplication application(argc, argv);
    brightfold::preview::prepareSurfaceFormat();
    OffscreenSceneRenderer renderer(request.side);
    QStringList problems;
    savePicture(renderer.render(scene, problems), request.output);
    for (const QString& problem : problems) {
        std::fprintf(stderr, "brightfold-thumbnailer: not drawn: %s\n", qPrintable(problem));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const auto parsed = parseThumbnailRequest({argv + 1, argv + argc});
    if (std::holds_alternative<HelpWanted>(parsed)) {
        std::fputs(
            brightfold::manual::usageText(brightfold::manual::thumbnailerReference()).c_str(),
            stdout);
        return 0;
    }
    if (const auto* bad = std::get_if<BadArguments>(&parsed)) {
        std::fprintf(stderr, "brightfold-thumbnailer: %s\nTry 'brightfold-thumbnailer --help'.\n",
                     bad->reason.c_str());
        return 2;
    }
    endProcessAfter(timeLimitSeconds);
    try {
        return drawThumbnail(argc, argv, std::get<ThumbnailRequest>(parsed));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "brightfold-thumbnailer: %s\n", error.what());
        return 1;
    }
}
