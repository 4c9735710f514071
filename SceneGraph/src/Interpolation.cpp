#include "Interpolation.h"

namespace scene::detail {
namespace {

template <class T> bool holdBoth(const Value& from, const Value& to) {
    return from.is<T>() && to.is<T>();
}

template <class Vector> Vector mixed(const Value& from, const Value& to, double progress) {
    return glm::mix(*from.as<Vector>(), *to.as<Vector>(), progress);
}

glm::dvec4 slerpXYZW(const glm::dvec4& from, const glm::dvec4& to, double progress) {
    return xyzwOf(glm::slerp(quaternionFromXYZW(from), quaternionFromXYZW(to), progress));
}

Color mixColors(const Color& from, const Color& to, double progress) {
    const glm::dvec4 mixedColor =
        glm::mix(glm::dvec4(from.red, from.green, from.blue, from.alpha),
                 glm::dvec4(to.red, to.green, to.blue, to.alpha), progress);
    return {mixedColor.r, mixedColor.g, mixedColor.b, mixedColor.a};
}

} // namespace

Value interpolate(const Value& from, const Value& to, double progress, bool asRotation) {
    if (const auto a = from.number(), b = to.number(); a && b) {
        return *a + (*b - *a) * progress;
    }
    if (holdBoth<glm::dvec4>(from, to)) {
        return asRotation ? slerpXYZW(*from.as<glm::dvec4>(), *to.as<glm::dvec4>(), progress)
                          : mixed<glm::dvec4>(from, to, progress);
    }
    if (holdBoth<glm::dvec3>(from, to)) {
        return mixed<glm::dvec3>(from, to, progress);
    }
    if (holdBoth<glm::dvec2>(from, to)) {
        return mixed<glm::dvec2>(from, to, progress);
    }
    if (holdBoth<Quaternion>(from, to)) {
        return glm::slerp(*from.as<Quaternion>(), *to.as<Quaternion>(), progress);
    }
    if (holdBoth<Color>(from, to)) {
        return mixColors(*from.as<Color>(), *to.as<Color>(), progress);
    }
    return from;
}

} // namespace scene::detail
