#pragma once

namespace brightfold::preview {

/// What a program showing the preview must set before its QGuiApplication exists: OpenGL,
/// windows with an alpha channel, and rendering on the GUI thread (the "basic" render loop).
/// Quick 3D 6.4's threaded loop can crash its render thread when a view is torn down while a
/// frame is still being prepared; a loop chosen in the environment (QSG_RENDER_LOOP) still wins.
void prepareRenderingBeforeApplication();

/// What must follow once the application exists (asking for the surface format earlier crashes
/// inside OpenGL): Quick 3D's ideal format, with an alpha channel. It also finds out whether the
/// renderer draws in software (SoftwareRendering.h).
void prepareSurfaceFormat();

} // namespace brightfold::preview
