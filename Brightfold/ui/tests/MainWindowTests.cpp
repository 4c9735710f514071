#include "AppWindowTest.h"
#include "ConversionFolder.h"

#include <QDir>
#include <QFile>
#include <QQuickItem>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// The real window over scripted services.
class MainWindowTest : public AppWindowTest {
  protected:
    void SetUp() override { openWindow(folder_.services(), folder_.source()); }

    ConversionFolder folder_;
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

TEST_F(MainWindowTest, EscapeCancelsAConversionAndLeavesNoFile) {
    folder_.services()->holdWrites();
    sendDrop();
    ASSERT_TRUE(waitForScreen("converting"));
    settledGrab("converting-with-cancel");
    QTest::keyClick(window_, Qt::Key_Escape);
    EXPECT_EQ(bridge_->screen(), QStringLiteral("idle")) << "Escape returns to the start at once";
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !bridge_->workflow().hasBackgroundWork(); }, stopTimeout));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_.root() / "tmp"), {}), 0);
}

void typeInto(QWindow* window, const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
        QTest::keyClick(window, *c);
    }
}

// The names the fallback panel lists.
QStringList listedNames(QObject* files) {
    QStringList names;
    for (int row = 0; row < files->property("count").toInt(); ++row) {
        QVariant name;
        QMetaObject::invokeMethod(files, "get", Q_RETURN_ARG(QVariant, name), Q_ARG(int, row),
                                  Q_ARG(QString, QStringLiteral("fileName")));
        names << name.toString();
    }
    return names;
}

// Waits until the panel's folder is read and lists exactly `expected`.
bool lists(QObject* files, const QStringList& expected) {
    return QTest::qWaitFor([&] { return listedNames(files) == expected; }, 5000);
}

// Under the bare virtual display no desktop chooser exists, so the panel is our own window.
TEST_F(MainWindowTest, FallbackOpenPanelStartsAtHomeListsModelsInAnyCaseAndTakesATypedPath) {
    QTemporaryDir home;
    QDir(home.path()).mkpath("models");
    for (const char* name : {"models/Box.GlB", "models/notes.txt", "Top.GLTF"}) {
        QFile(home.path() + "/" + name).open(QIODevice::WriteOnly);
    }
    const QByteArray realHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    qunsetenv("QT_QPA_PLATFORMTHEME");
    qunsetenv("XDG_CURRENT_DESKTOP");

    QTest::keyClick(window_, Qt::Key_O, Qt::ControlModifier);
    auto* panel = window_->property("openPanel")
                      .value<QObject*>()
                      ->property("fallback")
                      .value<QQuickWindow*>();
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel));
    EXPECT_EQ(panel->property("folder").toUrl(), QUrl::fromLocalFile(home.path()));
    auto* files = panel->property("files").value<QObject*>();
    EXPECT_TRUE(lists(files, {"models", "Top.GLTF"})) << listedNames(files).join(' ').toStdString();

    auto* pathField = panel->property("pathField").value<QQuickItem*>();
    pathField->forceActiveFocus();
    typeInto(panel, "models");
    QTest::keyClick(panel, Qt::Key_Return);
    EXPECT_EQ(panel->property("folder").toUrl(), QUrl::fromLocalFile(home.path() + "/models"));
    EXPECT_TRUE(lists(files, {"Box.GlB"}))
        << "mixed case listed, text hidden: " << listedNames(files).join(' ').toStdString();
    panel->grabWindow().save(screenshotPath("fallback-open-panel"));

    typeInto(panel, "../Top.GLTF");
    QTest::keyClick(panel, Qt::Key_Return);
    EXPECT_FALSE(panel->isVisible());
    ASSERT_TRUE(waitForScreen("preview"));
    EXPECT_EQ(std::get<brightfold::Preview>(bridge_->workflow().state()).originalURL,
              fs::path(home.path().toStdString()) / "Top.GLTF");

    qputenv("HOME", realHome);
}

} // namespace
