#include "materials/TextureTransform.h"

#include <USD/codec/MemoryPages.h>
#include <cmath>
#include <numbers>

namespace usd::writer {
namespace {

// Relative tolerance on the cosine between the map's axes; float texture data carries no more.
constexpr double kPerpendicularTolerance = 1e-6;

bool shears(double a, double b, double c, double d) {
    const double lengths = std::hypot(a, c) * std::hypot(b, d);
    return std::abs(a * b + c * d) > kPerpendicularTolerance * lengths;
}

} // namespace

std::optional<Transform2d> transform2dFor(const scene::Matrix4& m) {
    const double a = m[0][0], b = m[1][0], c = m[0][1], d = m[1][1];
    if (shears(a, b, c, d))
        return std::nullopt;
    const double theta = std::atan2(-c, a);
    Transform2d result;
    result.rotationDegrees = static_cast<float>(theta * 180.0 / std::numbers::pi);
    result.scale = {static_cast<float>(std::hypot(a, c)),
                    static_cast<float>(b * std::sin(theta) + d * std::cos(theta))};
    result.translation = {static_cast<float>(b + m[3][0]), static_cast<float>(1.0 - d - m[3][1])};
    return result;
}

Array<Vec2f> bakeTexCoords(const Array<Vec2f>& st, const scene::Matrix4& uvTransform) {
    Array<Vec2f> baked;
    reserveWithHugePages(baked, st.size());
    for (const Vec2f& coordinate : st) {
        const glm::dvec4 uv = uvTransform * glm::dvec4(coordinate[0], 1.0 - coordinate[1], 0, 1);
        baked.push_back({static_cast<float>(uv.x), static_cast<float>(1.0 - uv.y)});
    }
    return baked;
}

} // namespace usd::writer
