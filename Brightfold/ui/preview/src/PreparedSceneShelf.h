#pragma once

#include <memory>

namespace scene {
class Scene;
}

namespace brightfold::preview {

struct PreparedScene;

/// Hands the prepared data of a scene from the thread that made it to the view that shows the
/// scene. Holds one scene's data at a time, and only while that scene exists.
void shelvePreparedScene(const std::shared_ptr<const scene::Scene>& scene,
                         std::shared_ptr<PreparedScene> prepared);

/// The data prepared for `scene`, taken off the shelf; null when there is none.
std::shared_ptr<PreparedScene> takePreparedScene(const scene::Scene& scene);

} // namespace brightfold::preview
