#pragma once

#include <Brightfold/SceneHandle.h>
#include <QImage>
#include <QStringList>
#include <memory>

namespace brightfold::thumbnailer {

/// Draws scenes with the preview's own view (its camera framing, lights and materials) into a
/// texture instead of a window, and reads the picture back. Needs the application object and,
/// in the program, the preview's QML plugin imported.
class OffscreenSceneRenderer {
  public:
    /// Throws std::runtime_error when no OpenGL context can be had.
    explicit OffscreenSceneRenderer(int side);
    ~OffscreenSceneRenderer();
    OffscreenSceneRenderer(const OffscreenSceneRenderer&) = delete;
    OffscreenSceneRenderer& operator=(const OffscreenSceneRenderer&) = delete;

    /// The scene as the preview first shows it (animations at their first frame), on a
    /// transparent background, side × side pixels with straight alpha. What the view could not
    /// show goes to `problems`. Throws std::runtime_error when the view cannot be made.
    QImage render(const SceneHandle& scene, QStringList& problems);

  private:
    struct Target;
    std::unique_ptr<Target> target_;
};

} // namespace brightfold::thumbnailer
