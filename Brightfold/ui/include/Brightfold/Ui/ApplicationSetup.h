#pragma once

class QGuiApplication;
class QQmlApplicationEngine;
class QQmlEngine;
class QQuickWindow;

namespace brightfold::ui {

class AppBridge;

// The version the program reports (About, --version, issue reports).
inline constexpr const char* applicationVersion = "1.0";

// The transparent window and the 3D preview need OpenGL with an alpha channel, rendered on the
// GUI thread (see Brightfold/Preview/RenderingSetup.h). Part of that must be chosen before the
// application object exists, part only after.
void prepareGraphicsBeforeApplication();
void prepareApplication(QGuiApplication& application);

// Lets QML find the application's own modules, which are compiled into the program.
void prepareEngine(QQmlEngine& engine);

// Creates the main window over the bridge; null (with the engine's warnings printed) when
// the window's QML cannot be loaded, for example because a QML module is not installed.
QQuickWindow* loadMainWindow(QQmlApplicationEngine& engine, AppBridge& bridge);

} // namespace brightfold::ui
