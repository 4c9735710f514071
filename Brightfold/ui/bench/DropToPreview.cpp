// brightfold-drop-to-preview FILE [RUNS] [--after-read-back-only]: the application's time from a
// drop on its window to the first frame of the preview screen with the model in it, split into the
// conversion (reading the source and writing the package) and what follows it (reading the package
// back, preparing it for the preview, building the Quick 3D scene, drawing). Needs a display; run
// it under xvfb-run.
#include "TimedServices.h"

#include <Brightfold/SceneServices.h>
#include <Brightfold/Ui/AppBridge.h>
#include <Brightfold/Ui/ApplicationSetup.h>
#include <Brightfold/Ui/PreviewPreparingServices.h>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string_view>
#include <sys/resource.h>
#include <utility>

Q_IMPORT_QML_PLUGIN(Brightfold_UiPlugin)
Q_IMPORT_QML_PLUGIN(Brightfold_PreviewPlugin)

namespace {

using namespace brightfold;

// Seconds from the drop to each moment, and how long the services' steps took.
struct DropTimes {
    double announced = 0;     // the workflow reached the preview state
    double built = 0;         // the window's handling of the announcement ended
    double shown = 0;         // the first frame of the preview was drawn
    double cpuConverting = 0; // process CPU time from the drop to the announcement
    double cpuShowing = 0;    // process CPU time from the announcement to the first frame
    int framesConverting = 0; // frames drawn from the drop to the announcement
    int framesShowing = 0;    // frames drawn from the announcement to the preview's first
    bench::StepTimes steps;
    double prepare = 0; // preparing the read-back scene for the preview, on the same thread
};

// The app's services with each step timed: the inner timing sees the plain steps, the outer
// one the read-back together with the preparation for the preview that follows it.
struct DropServices {
    DropServices(std::shared_ptr<bench::TimedServices> plainSteps,
                 std::shared_ptr<ConversionServices> preparing)
        : steps(std::move(plainSteps)),
          prepared(std::make_shared<bench::TimedServices>(std::move(preparing))) {}

    std::shared_ptr<bench::TimedServices> steps;
    std::shared_ptr<bench::TimedServices> prepared;

    void resetTimes() {
        steps->takeTimes();
        prepared->takeTimes();
    }
    void takeTimes(DropTimes& times) {
        times.steps = steps->takeTimes();
        times.prepare = (prepared->takeTimes().readBack - times.steps.readBack).count();
    }
};

// For comparison (--after-read-back-only): the source's images are not decoded ahead, so the
// whole preparation follows the read-back.
class PreparingAfterReadBackOnly : public ui::PreviewPreparingServices {
  public:
    using PreviewPreparingServices::PreviewPreparingServices;

    SceneHandle loadWithGLTFReader(const std::filesystem::path& file,
                                   std::stop_token stop) override {
        return ForwardingServices::loadWithGLTFReader(file, stop);
    }
    SceneHandle importModel(const std::filesystem::path& file, std::stop_token stop) override {
        return ForwardingServices::importModel(file, stop);
    }
};

std::shared_ptr<ConversionServices> preparingServices(bool afterReadBackOnly,
                                                      std::shared_ptr<ConversionServices> steps) {
    if (afterReadBackOnly)
        return std::make_shared<PreparingAfterReadBackOnly>(std::move(steps));
    return std::make_shared<ui::PreviewPreparingServices>(std::move(steps));
}

// Runs `loop` until it is quit; false when a minute passes first.
bool runForAMinuteAtMost(QEventLoop& loop) {
    QTimer::singleShot(60000, &loop, [&] { loop.exit(1); });
    return loop.exec() == 0;
}

// Runs the event loop until `done` holds, checking after each signal of `sender`.
template <typename Sender, typename Signal>
bool waitFor(Sender* sender, Signal signal, const std::function<bool()>& done) {
    if (done())
        return true;
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, [&] {
        if (done())
            loop.quit();
    });
    return runForAMinuteAtMost(loop);
}

bool nextFrame(QQuickWindow& window) {
    QEventLoop loop;
    QObject::connect(&window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit);
    window.update();
    return runForAMinuteAtMost(loop);
}

// CPU time of the whole process (every thread, the renderer's included).
double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double secondsOn(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) * 1e-9;
}

bool isPreview(const ui::AppBridge& bridge) {
    return bridge.screen() == QStringLiteral("preview");
}

// Notes when the preview state is announced, before the window's own handlers build the
// scene (it must be connected before the window is loaded), when that handling ends, and
// the first frame drawn after it; counts the frames drawn since the drop.
class DropClock : public QObject {
  public:
    explicit DropClock(ui::AppBridge& bridge) {
        connect(&bridge, &ui::AppBridge::stateChanged, this, [this, &bridge] {
            if (isPreview(bridge) && times_.announced == 0) {
                times_.announced = secondsOn(clock_);
                cpuAtAnnouncement_ = processCpuSeconds();
                times_.cpuConverting = cpuAtAnnouncement_ - cpuAtDrop_;
                times_.framesConverting = frames_;
                // Runs once the window's handlers of this announcement have returned.
                QTimer::singleShot(0, this, [this] { times_.built = secondsOn(clock_); });
            }
        });
    }
    void watchFramesOf(QQuickWindow& window) {
        connect(&window, &QQuickWindow::frameSwapped, this, [this] {
            ++frames_;
            if (times_.announced > 0 && times_.shown == 0) {
                times_.shown = secondsOn(clock_);
                times_.cpuShowing = processCpuSeconds() - cpuAtAnnouncement_;
                times_.framesShowing = frames_ - times_.framesConverting;
            }
        });
    }
    void start() {
        times_ = {};
        frames_ = 0;
        cpuAtDrop_ = processCpuSeconds();
        clock_.start();
    }
    // The times so far; `shown` is 0 until the first frame after the announcement.
    DropTimes times() const { return times_; }

  private:
    QElapsedTimer clock_;
    DropTimes times_;
    double cpuAtDrop_ = 0;
    double cpuAtAnnouncement_ = 0;
    int frames_ = 0;
};

std::optional<DropTimes> dropAndShow(ui::AppBridge& bridge, QQuickWindow& window,
                                     DropServices& services, DropClock& clock, const QUrl& file) {
    services.resetTimes();
    clock.start();
    bridge.dropUrls({file});
    const bool finished = waitFor(&bridge, &ui::AppBridge::stateChanged, [&] {
        return bridge.screen() != QStringLiteral("idle") &&
               bridge.screen() != QStringLiteral("converting");
    });
    if (!finished || !isPreview(bridge) ||
        !waitFor(&window, &QQuickWindow::frameSwapped, [&] { return clock.times().shown > 0; }))
        return std::nullopt;
    DropTimes times = clock.times();
    times.built = times.built > 0 ? std::min(times.built, times.shown) : times.shown;
    services.takeTimes(times);
    bridge.discardPreview();
    bridge.resetToIdle();
    nextFrame(window);
    return times;
}

void printHeader() {
    std::printf("seconds from the drop; after = total - conversion, ratio = after / conversion\n"
                "prepare = preparing the read-back scene for the preview (worker thread)\n"
                "waiting = preview announced - (load + write + read-back + prepare)\n"
                "conv cpu = process CPU time from the drop to the announcement\n"
                "show cpu = process CPU time from the announcement to the first frame\n"
                "frames = drawn from the drop to the announcement + from there to the first\n");
    std::printf("%-4s %7s %7s %7s %9s %7s %8s %7s %7s %8s %8s %7s %6s %7s\n", "run", "total",
                "load", "write", "read-back", "prepare", "waiting", "scene", "frame", "conv cpu",
                "show cpu", "after", "ratio", "frames");
}

void printRun(int run, const DropTimes& times) {
    const double load = times.steps.load.count();
    const double write = times.steps.write.count();
    const double readBack = times.steps.readBack.count();
    const double conversion = load + write;
    const double after = times.shown - conversion;
    std::printf(
        "%-4d %7.3f %7.3f %7.3f %9.3f %7.3f %8.3f %7.3f %7.3f %8.3f %8.3f %7.3f %6.2f %3d+%-3d\n",
        run, times.shown, load, write, readBack, times.prepare,
        times.announced - conversion - readBack - times.prepare, times.built - times.announced,
        times.shown - times.built, times.cpuConverting, times.cpuShowing, after, after / conversion,
        times.framesConverting, times.framesShowing);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fputs("usage: brightfold-drop-to-preview FILE [RUNS] [--after-read-back-only]\n",
                   stderr);
        return 2;
    }
    const QUrl file =
        QUrl::fromLocalFile(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath());
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const bool afterReadBackOnly =
        argc > 3 && std::string_view(argv[3]) == "--after-read-back-only";

    ui::prepareGraphicsBeforeApplication();
    QGuiApplication application(argc, argv);
    ui::prepareApplication(application);
    auto steps = std::make_shared<bench::TimedServices>(makeSceneServices());
    DropServices services(steps, preparingServices(afterReadBackOnly, steps));
    ui::AppBridge bridge(services.prepared);
    DropClock clock(bridge);
    QQmlApplicationEngine engine;
    QQuickWindow* window = ui::loadMainWindow(engine, bridge);
    if (window == nullptr || !nextFrame(*window)) {
        std::fputs("the window could not be shown\n", stderr);
        return 1;
    }
    clock.watchFramesOf(*window);
    printHeader();
    for (int run = 1; run <= runs; ++run) {
        const std::optional<DropTimes> times = dropAndShow(bridge, *window, services, clock, file);
        if (!times) {
            std::fprintf(stderr, "run %d: the preview was not shown (screen \"%s\")\n", run,
                         bridge.screen().toUtf8().constData());
            return 1;
        }
        printRun(run, *times);
    }
    return 0;
}
