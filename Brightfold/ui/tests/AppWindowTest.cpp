#include "AppWindowTest.h"

#include <Brightfold/Ui/ApplicationSetup.h>
#include <QDir>
#include <QDropEvent>
#include <QQuickItem>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>
#include <functional>

Q_IMPORT_QML_PLUGIN(Brightfold_UiPlugin)
Q_IMPORT_QML_PLUGIN(Brightfold_PreviewPlugin)

namespace {

QGuiApplication& application() {
    static int argc = 1;
    static char name[] = "BrightfoldWindowTests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* instance = [] {
        brightfold::ui::prepareGraphicsBeforeApplication();
        auto* created = new QGuiApplication(argc, argv);
        brightfold::ui::prepareApplication(*created);
        return created;
    }();
    return *instance;
}

// Depth first through the visual children, the item itself included.
QQuickItem* findItem(QQuickItem* item, const std::function<bool(const QQuickItem&)>& matches) {
    if (matches(*item)) {
        return item;
    }
    for (QQuickItem* child : item->childItems()) {
        if (QQuickItem* found = findItem(child, matches)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace

QString screenshotPath(const char* name) {
    const QString folder = QStringLiteral(BRIGHTFOLD_BINARY_DIR "/ui-screenshots");
    QDir().mkpath(folder);
    return folder + "/" + name + ".png";
}

AppWindowTest::AppWindowTest() : application_(application()) {}

void AppWindowTest::openWindow(std::shared_ptr<brightfold::ConversionServices> services,
                               const std::filesystem::path& source) {
    bridge_ = std::make_unique<brightfold::ui::AppBridge>(std::move(services));
    engine_ = std::make_unique<QQmlApplicationEngine>();
    QObject::connect(engine_.get(), &QQmlEngine::warnings,
                     [this](const QList<QQmlError>& warnings) {
                         for (const QQmlError& warning : warnings) {
                             qmlWarnings_ << warning.toString();
                         }
                     });
    window_ = brightfold::ui::loadMainWindow(*engine_, *bridge_);
    ASSERT_NE(window_, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_));
    window_->requestActivate(); // keyboard shortcuts act in the active window only
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
    dragged_.setUrls({QUrl::fromLocalFile(QString::fromStdString(source))});
}

void AppWindowTest::TearDown() {
    EXPECT_TRUE(qmlWarnings_.isEmpty()) << qmlWarnings_.join('\n').toStdString();
    engine_.reset();
    bridge_.reset();
}

bool AppWindowTest::isTargeted() const {
    return window_->property("content").value<QQuickItem*>()->property("isTargeted").toBool();
}

QPoint AppWindowTest::middle() const {
    return {window_->width() / 2, window_->height() / 2};
}

void AppWindowTest::sendDragEnter() {
    QDragEnterEvent enter(middle(), Qt::CopyAction, &dragged_, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window_, &enter);
    QDragMoveEvent move(middle(), Qt::CopyAction, &dragged_, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window_, &move);
}

void AppWindowTest::sendDragLeave() {
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(window_, &leave);
}

void AppWindowTest::sendDrop() {
    sendDragEnter();
    QDropEvent drop(middle(), Qt::CopyAction, &dragged_, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window_, &drop);
}

bool AppWindowTest::waitForScreen(const char* screen, int milliseconds) {
    return QTest::qWaitFor([&] { return bridge_->screen() == QLatin1String(screen); },
                           milliseconds);
}

bool AppWindowTest::isSettling() const {
    return window_->property("content").value<QQuickItem*>()->property("isSettling").toBool();
}

QImage AppWindowTest::settledGrab(const char* name) {
    constexpr int settleTimeout = 10000; // generous: a loaded machine draws few frames
    EXPECT_TRUE(QTest::qWaitFor([&] { return !isSettling(); }, settleTimeout))
        << "the card's lift or the progress fill of \"" << name << "\" still moved after "
        << settleTimeout << " ms";
    QImage image = window_->grabWindow();
    image.save(screenshotPath(name));
    return image;
}

QQuickItem* AppWindowTest::currentScreen() const {
    return window_->property("content")
        .value<QQuickItem*>()
        ->property("currentScreen")
        .value<QQuickItem*>();
}

bool AppWindowTest::clickButton(const QString& text) {
    QQuickItem* button = findItem(currentScreen(), [&](const QQuickItem& item) {
        return item.property("text").toString() == text &&
               item.metaObject()->indexOfSignal("clicked()") >= 0;
    });
    if (button == nullptr) {
        return false;
    }
    const QPointF centre = button->mapToScene({button->width() / 2, button->height() / 2});
    QTest::mouseClick(window_, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
    return true;
}
