#pragma once

#include <Brightfold/ConversionServices.h>
#include <Brightfold/Ui/AppBridge.h>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QStringList>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

class QQuickItem;

// The application's real window on a (virtual) display, over the services a test chooses,
// with the means to drag files onto it, wait for its screens and grab what it draws.
class AppWindowTest : public testing::Test {
  public:
    AppWindowTest();

  protected:
    // Loads the window over the services; the dragged file is `source`.
    void openWindow(std::shared_ptr<brightfold::ConversionServices> services,
                    const std::filesystem::path& source);
    // Checks that the window's QML reported nothing, then closes it and ends its conversions.
    void TearDown() override;

    bool isTargeted() const;
    // The card's lift or the progress fill is still moving.
    bool isSettling() const;
    // What a file manager sends while the user drags the source over the window's middle.
    void sendDragEnter();
    void sendDragLeave();
    void sendDrop();

    bool waitForScreen(const char* screen, int milliseconds = 5000);
    // How long a stopped conversion may take to end before the test calls it hung: long, so
    // that a loaded machine never fails a test that only asks whether it ends.
    static constexpr int stopTimeout = 30000;
    // The window once its lift and progress fill have come to rest (a failure when they do not
    // within a few seconds), also saved for a person to look at.
    QImage settledGrab(const char* name);
    // Clicks the button of the current screen whose label is `text`; false when none shows it.
    bool clickButton(const QString& text);
    // The current screen's item, as the window's content shows it.
    QQuickItem* currentScreen() const;

    // First: the bridge and the engine need the application object.
    QGuiApplication& application_;
    std::unique_ptr<brightfold::ui::AppBridge> bridge_;
    std::unique_ptr<QQmlApplicationEngine> engine_;
    QQuickWindow* window_ = nullptr;
    QMimeData dragged_;
    QStringList qmlWarnings_;

  private:
    QPoint middle() const;
};

// Where the window's pictures go, under the build folder.
QString screenshotPath(const char* name);
