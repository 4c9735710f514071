#include "OrbitCamera.h"

#include <algorithm>
#include <cmath>

namespace brightfold::preview {
namespace {

constexpr double degreesPerViewHeight = 180.0;
constexpr double pitchLimitDegrees = 89.0;
constexpr double zoomRange = 50.0;
constexpr double framingMargin = 1.1;
// The first view looks from a little above and to the right, so that a box shows three faces
// and reads as a solid rather than a flat picture.
constexpr double firstViewYawDegrees = 30.0;
constexpr double firstViewPitchDegrees = -20.0;

double halfFieldOfViewRadians() {
    return glm::radians(OrbitCamera::fieldOfViewDegrees) * 0.5;
}

} // namespace

void OrbitCamera::frame(const Bounds& bounds) {
    bounds_ = bounds;
    if (bounds_.isEmpty() || bounds_.radius() <= 0.0) {
        const glm::dvec3 center = bounds_.isEmpty() ? glm::dvec3(0.0) : bounds_.center();
        bounds_ = Bounds{};
        bounds_.add(center - 0.5);
        bounds_.add(center + 0.5);
    }
    target_ = bounds_.center();
    framingDistance_ = bounds_.radius() * framingMargin / std::sin(halfFieldOfViewRadians());
    distance_ = framingDistance_;
    yawDegrees_ = firstViewYawDegrees;
    pitchDegrees_ = firstViewPitchDegrees;
}

void OrbitCamera::orbit(double dxPixels, double dyPixels, double viewHeight) {
    const double scale = degreesPerViewHeight / std::max(viewHeight, 1.0);
    yawDegrees_ -= dxPixels * scale;
    pitchDegrees_ =
        std::clamp(pitchDegrees_ - dyPixels * scale, -pitchLimitDegrees, pitchLimitDegrees);
}

void OrbitCamera::pan(double dxPixels, double dyPixels, double viewHeight) {
    const double visibleHeight = 2.0 * distance_ * std::tan(halfFieldOfViewRadians());
    const double unitsPerPixel = visibleHeight / std::max(viewHeight, 1.0);
    const glm::dquat turn = rotation();
    target_ += turn * glm::dvec3(-dxPixels * unitsPerPixel, dyPixels * unitsPerPixel, 0.0);
}

void OrbitCamera::zoom(double factor) {
    if (!(factor > 0.0) || !std::isfinite(factor)) {
        return;
    }
    distance_ =
        std::clamp(distance_ / factor, framingDistance_ / zoomRange, framingDistance_ * zoomRange);
}

glm::dquat OrbitCamera::rotation() const {
    const glm::dquat yaw = glm::angleAxis(glm::radians(yawDegrees_), glm::dvec3(0, 1, 0));
    const glm::dquat pitch = glm::angleAxis(glm::radians(pitchDegrees_), glm::dvec3(1, 0, 0));
    return yaw * pitch;
}

glm::dvec3 OrbitCamera::position() const {
    return target_ + rotation() * glm::dvec3(0.0, 0.0, distance_);
}

double OrbitCamera::clipNear() const {
    const double fromCenter = glm::length(position() - bounds_.center());
    const double radius = bounds_.radius();
    return std::max((fromCenter - radius) * 0.5, radius * 0.001);
}

double OrbitCamera::clipFar() const {
    return glm::length(position() - bounds_.center()) + bounds_.radius() * 2.0;
}

} // namespace brightfold::preview
