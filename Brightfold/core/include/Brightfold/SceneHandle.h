#pragma once

#include <memory>

namespace scene {
class Scene;
} // namespace scene

namespace brightfold {

// Scenes travel between the loader, the writer and the preview by shared ownership:
// the preview state keeps the read-back scene alive for as long as it is shown.
using SceneHandle = std::shared_ptr<scene::Scene>;

} // namespace brightfold
