#pragma once

// A window holding one TransparentSceneView, for the rendering tests and the frame benchmark.

#include <Brightfold/Preview/TransparentSceneView.h>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QString>
#include <memory>

namespace brightfold::preview::fixtures {

/// Starts the application with the renderer settings the preview needs, once per process.
/// Returns false when there is no display to render on.
bool startRenderingApplication();

/// A 320 × 240 transparent window showing one TransparentSceneView that fills it.
struct PreviewWindow {
    std::unique_ptr<QQmlEngine> engine;
    std::unique_ptr<QQuickWindow> window;
    TransparentSceneView* view = nullptr;
    /// Why the window could not be made; empty when it was.
    QString error;
};

PreviewWindow openPreviewWindow();

} // namespace brightfold::preview::fixtures
