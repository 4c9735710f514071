#include "motion/AnimatedValues.h"

#include <algorithm>
#include <cmath>

namespace usd::writer {

glm::dvec3 vectorOf(const scene::Value& value, const glm::dvec3& fallback) {
    const auto* vector = value.as<glm::dvec3>();
    return vector ? *vector : fallback;
}

scene::Quaternion rotationOf(const scene::Value& value, const scene::Quaternion& fallback) {
    if (const auto* rotation = value.as<scene::Quaternion>())
        return *rotation;
    if (const auto* xyzw = value.as<glm::dvec4>())
        return scene::quaternionFromXYZW(*xyzw);
    return fallback;
}

double numberOf(const scene::Value& value, double fallback) {
    return value.number().value_or(fallback);
}

scene::Quaternion normalizedRotation(const scene::Quaternion& rotation) {
    const double length = glm::length(rotation);
    if (!(length > 0) || !std::isfinite(length))
        return scene::Quaternion(1.0, 0.0, 0.0, 0.0);
    return rotation / length;
}

scene::Quaternion alongShorterArc(const scene::Quaternion& rotation,
                                  const scene::Quaternion& previous) {
    return glm::dot(rotation, previous) < 0 ? -rotation : rotation;
}

Vec3f toVec3f(const glm::dvec3& v) {
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

Vec3d toVec3d(const glm::dvec3& v) {
    return {v.x, v.y, v.z};
}

Quatf toQuatf(const scene::Quaternion& q) {
    Quatf value;
    value.imaginary = {static_cast<float>(q.x), static_cast<float>(q.y), static_cast<float>(q.z)};
    value.real = static_cast<float>(q.w);
    return value;
}

// The stored sixteen numbers in order: our row-vector layout is USD's.
Matrix4d toMatrix4d(const scene::Matrix4& m) {
    Matrix4d value;
    const auto elements = scene::elementsOf(m);
    std::copy(elements.begin(), elements.end(), value.rowMajor.begin());
    return value;
}

} // namespace usd::writer
