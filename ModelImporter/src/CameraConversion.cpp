#include "CameraConversion.h"

#include "AssimpValues.h"

#include <SceneGraph/Camera.h>
#include <glm/gtc/constants.hpp>

namespace modelimporter {

// The importer keeps a glTF camera's vertical field of view multiplied by the aspect ratio,
// and an orthographic camera's half width with the aspect ratio; both are undone here.
std::shared_ptr<scene::Camera> convertCamera(const aiCamera& source) {
    auto camera = scene::Camera::create();
    camera->name = toString(source.mName);
    const double aspect = source.mAspect > 0 ? source.mAspect : 1.0;
    camera->zNear = source.mClipPlaneNear;
    camera->zFar = source.mClipPlaneFar;
    if (source.mOrthographicWidth > 0) {
        camera->usesOrthographicProjection = true;
        camera->orthographicScale = source.mOrthographicWidth / aspect;
    } else {
        camera->fieldOfView = source.mHorizontalFOV / aspect * 180.0 / glm::pi<double>();
    }
    return camera;
}

} // namespace modelimporter
