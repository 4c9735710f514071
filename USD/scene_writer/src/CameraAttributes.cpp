#include "CameraAttributes.h"

#include <cmath>
#include <numbers>

namespace usd::writer {
namespace {

// USD's default film back; only the ratios matter for the image.
constexpr double defaultVerticalAperture = 15.2908;
constexpr double defaultHorizontalAperture = 20.955;
// What stands for an infinite far plane.
constexpr double farthestClip = 1'000'000.0;

void writeFloat(LayerBuilder& build, const Path& prim, const char* name, double value) {
    build.addAttribute(prim, name, {"float", static_cast<float>(value)});
}

} // namespace

void writeCameraAttributes(LayerBuilder& build, const Path& prim, const scene::Camera& camera) {
    const bool orthographic = camera.usesOrthographicProjection;
    build.addAttribute(prim, "projection",
                       {"token", Token{orthographic ? "orthographic" : "perspective"}});
    if (orthographic) {
        // The visible height is a tenth of the vertical aperture, in scene units.
        const double vertical = 20.0 * camera.orthographicScale;
        writeFloat(build, prim, "verticalAperture", vertical);
        writeFloat(build, prim, "horizontalAperture",
                   vertical * defaultHorizontalAperture / defaultVerticalAperture);
    } else {
        const double halfFov = camera.fieldOfView * std::numbers::pi / 360.0;
        writeFloat(build, prim, "verticalAperture", defaultVerticalAperture);
        writeFloat(build, prim, "horizontalAperture", defaultHorizontalAperture);
        writeFloat(build, prim, "focalLength", defaultVerticalAperture / (2.0 * std::tan(halfFov)));
    }
    const double far = std::isfinite(camera.zFar) ? camera.zFar : farthestClip;
    build.addAttribute(
        prim, "clippingRange",
        {"float2", Vec2f{static_cast<float>(camera.zNear), static_cast<float>(far)}});
}

} // namespace usd::writer
