#include "ConversionFolder.h"

#include <Brightfold/Ui/AppBridge.h>
#include <Brightfold/Ui/ApplicationSetup.h>
#include <QDir>
#include <QDropEvent>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>
#include <memory>

Q_IMPORT_QML_PLUGIN(Brightfold_UiPlugin)
Q_IMPORT_QML_PLUGIN(Brightfold_PreviewPlugin)

namespace {

using brightfold::ui::AppBridge;
namespace fs = std::filesystem;

QGuiApplication& application() {
    static int argc = 1;
    static char name[] = "BrightfoldMainWindowTests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* instance = [] {
        brightfold::ui::prepareGraphicsBeforeApplication();
        auto* created = new QGuiApplication(argc, argv);
        brightfold::ui::prepareApplication(*created);
        return created;
    }();
    return *instance;
}

// Where the window's pictures go, for a person to look at.
QString screenshotPath(const char* name) {
    const QString folder = QStringLiteral(BRIGHTFOLD_BINARY_DIR "/ui-screenshots");
    QDir().mkpath(folder);
    return folder + "/" + name + ".png";
}

class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override {
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
        dragged_.setUrls({QUrl::fromLocalFile(QString::fromStdString(folder_.source()))});
    }
    void TearDown() override {
        EXPECT_TRUE(qmlWarnings_.isEmpty()) << qmlWarnings_.join('\n').toStdString();
    }

    bool isTargeted() const {
        return window_->property("content").value<QQuickItem*>()->property("isTargeted").toBool();
    }

    // What a file manager sends while the user drags the source over the window's middle.
    QPoint middle() const { return {window_->width() / 2, window_->height() / 2}; }
    void sendDragEnter() {
        QDragEnterEvent enter(middle(), Qt::CopyAction, &dragged_, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window_, &enter);
        QDragMoveEvent move(middle(), Qt::CopyAction, &dragged_, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window_, &move);
    }
    void sendDragLeave() {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(window_, &leave);
    }
    void sendDrop() {
        sendDragEnter();
        QDropEvent drop(middle(), Qt::CopyAction, &dragged_, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window_, &drop);
    }

    bool waitForScreen(const char* screen) {
        return QTest::qWaitFor([&] { return bridge_->screen() == QLatin1String(screen); }, 5000);
    }
    QImage settledGrab(const char* name) {
        QTest::qWait(600); // the spring and the progress fill come to rest
        QImage image = window_->grabWindow();
        image.save(screenshotPath(name));
        return image;
    }

    // First: the bridge and the engine need the application object.
    QGuiApplication& application_ = application();
    ConversionFolder folder_;
    std::unique_ptr<AppBridge> bridge_ = std::make_unique<AppBridge>(folder_.services());
    std::unique_ptr<QQmlApplicationEngine> engine_ = std::make_unique<QQmlApplicationEngine>();
    QQuickWindow* window_ = nullptr;
    QMimeData dragged_;
    QStringList qmlWarnings_;
};

TEST_F(MainWindowTest, FramelessTransparentWindowShowsOnlyTheCard) {
    EXPECT_TRUE(window_->flags() & Qt::FramelessWindowHint);
    EXPECT_GE(window_->minimumWidth(), 500);
    EXPECT_GE(window_->minimumHeight(), 450);
    const QImage idle = settledGrab("idle");
    // The shadow's faintest tail may reach the corner.
    EXPECT_LE(qAlpha(idle.pixel(0, 0)), 4) << "the margin around the card is see-through";
    EXPECT_GT(qAlpha(idle.pixel(idle.width() / 2, idle.height() / 2)), 0) << "the card is drawn";
}

TEST_F(MainWindowTest, DraggingAFileOverTheWindowTargetsItUntilItLeaves) {
    EXPECT_FALSE(isTargeted());
    sendDragEnter();
    EXPECT_TRUE(isTargeted());
    settledGrab("drag-over");
    sendDragLeave();
    EXPECT_FALSE(isTargeted());
}

TEST_F(MainWindowTest, DroppedFileIsPreviewedAndSavedWithTheKeyboard) {
    sendDrop();
    ASSERT_TRUE(waitForScreen("preview"));
    settledGrab("preview");
    QTest::keyClick(window_, Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(waitForScreen("success"));
    EXPECT_TRUE(fs::exists(folder_.root() / "model.usdz"));
    settledGrab("success");
}

TEST_F(MainWindowTest, EscapeDiscardsThePreview) {
    sendDrop();
    ASSERT_TRUE(waitForScreen("preview"));
    const fs::path temporary = std::get<brightfold::Preview>(bridge_->workflow().state()).tempURL;
    QTest::keyClick(window_, Qt::Key_Escape);
    ASSERT_TRUE(waitForScreen("idle"));
    EXPECT_FALSE(fs::exists(temporary));
}

} // namespace
