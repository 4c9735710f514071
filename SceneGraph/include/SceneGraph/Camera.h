#pragma once

#include <memory>
#include <string>

namespace scene {

/// A perspective or orthographic camera. Several nodes may share one camera.
struct Camera {
    static std::shared_ptr<Camera> create() { return std::make_shared<Camera>(); }

    std::string name;
    bool usesOrthographicProjection = false;
    /// Vertical field of view, degrees.
    double fieldOfView = 60.0;
    double zNear = 1.0;
    /// May be positive infinity.
    double zFar = 100.0;
    /// Half the visible height, for orthographic projection.
    double orthographicScale = 1.0;
};

} // namespace scene
