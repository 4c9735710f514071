#pragma once

#include <string_view>

namespace brightfold::preview {

/// Whether an OpenGL renderer, named by its GL_RENDERER string, draws on the processor: Mesa's
/// llvmpipe (also under a layered driver), softpipe and swrast. There every sample of every pixel
/// costs the CPU time that a running conversion and the preview's first frame need too, so the app
/// draws more cheaply. Hardware drivers built with LLVM ("AMD Radeon … LLVM 15 …") are not software
/// renderers.
bool isSoftwareRenderer(std::string_view glRenderer);

/// Asks OpenGL, through a short-lived context of the default surface format, which renderer
/// this process's windows will get, and remembers whether it draws in software. Needs the
/// application object; RenderingSetup's prepareSurfaceFormat() calls it.
void detectSoftwareRendering();

/// What detectSoftwareRendering() found; false before it ran, which keeps the GPU's choices.
bool rendersInSoftware();

} // namespace brightfold::preview
