#pragma once

namespace brightfold::thumbnailer {

/// Chooses, before the application object exists, drawing that needs no display: Qt's EGL
/// platform over Mesa's surfaceless EGL, which renders with the GPU's render node where there
/// is one and in software otherwise. File managers run thumbnailers in sandboxes without a
/// window system, so the choice is made whatever the environment says. Shader caches on disk
/// are turned off too: the thumbnailer writes no file but its picture.
void chooseHeadlessGraphics();

} // namespace brightfold::thumbnailer
