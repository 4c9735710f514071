#pragma once

#include "Bounds.h"

#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

namespace brightfold::preview {

/// A camera circling a target point, framed on a model's bounds. The camera looks down its
/// own −Z axis (the renderer's convention); yaw turns about world Y, pitch about the camera's
/// X axis. Pointer motion arrives in pixels of a view `viewHeight` pixels high.
class OrbitCamera {
  public:
    static constexpr double fieldOfViewDegrees = 45.0;

    /// Aims at the centre of `bounds` from the front (+Z), turned a little to the right and
    /// raised a little, at the distance where the whole box fits the vertical field of view
    /// from any side. Empty bounds frame a unit box at the origin.
    void frame(const Bounds& bounds);

    /// Dragging right turns the model right; dragging down tilts it towards the viewer. Pitch
    /// stops short of the poles so the view never flips.
    void orbit(double dxPixels, double dyPixels, double viewHeight);
    /// Moves the target so the model follows the pointer.
    void pan(double dxPixels, double dyPixels, double viewHeight);
    /// Factors above 1 come closer; the distance stays between 1/50 and 50 times the framing
    /// distance, so the model can neither vanish nor swallow the view.
    void zoom(double factor);

    glm::dvec3 position() const;
    glm::dquat rotation() const;
    glm::dvec3 target() const { return target_; }
    double distance() const { return distance_; }

    /// Near and far planes around the model from where the camera now is: everything inside
    /// the bounds stays between them, with the ratio kept small for depth precision.
    double clipNear() const;
    double clipFar() const;

  private:
    Bounds bounds_;
    glm::dvec3 target_{0.0};
    double distance_ = 1.0;
    double framingDistance_ = 1.0;
    double yawDegrees_ = 0.0;
    double pitchDegrees_ = 0.0;
};

} // namespace brightfold::preview
