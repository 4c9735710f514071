#pragma once

namespace brightfold::preview {

/// The preview's SceneEnvironment.antialiasingMode for its renderer. A GPU draws 4×
/// multisampling nearly for free. A software renderer rasterises every sample on the processor,
/// which doubles the first frame of a large model (two samples cost as much as four there), so
/// it draws plain edges. The 6.4 modes that would smooth them later do not fit either:
/// supersampling costs more still, and progressive accumulation keeps drawing after the scene
/// has settled and can hold on to a stale picture.
const char* antialiasingModeFor(bool softwareRenderer);

} // namespace brightfold::preview
