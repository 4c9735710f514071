#include "CameraBuilder.h"

#include "ValueReading.h"

#include <cmath>
#include <numbers>

namespace usd::reader {

std::shared_ptr<scene::Camera> buildCamera(const ComposedPrim& prim) {
    auto camera = scene::Camera::create();
    camera->name = std::string(prim.name());
    const double verticalAperture =
        readNumber(prim.attributeValue("verticalAperture")).value_or(15.2908);
    const double focalLength = readNumber(prim.attributeValue("focalLength")).value_or(50.0);
    camera->usesOrthographicProjection =
        readText(prim.attributeValue("projection")).value_or("perspective") == "orthographic";
    if (focalLength > 0 && verticalAperture > 0) {
        camera->fieldOfView =
            2.0 * std::atan(verticalAperture / (2.0 * focalLength)) * 180.0 / std::numbers::pi;
    }
    camera->orthographicScale = verticalAperture * 0.05;
    const glm::dvec4 range =
        readVector(prim.attributeValue("clippingRange")).value_or(glm::dvec4(1.0, 1e6, 0, 0));
    camera->zNear = range.x;
    camera->zFar = range.y;
    return camera;
}

} // namespace usd::reader
