#include "Interpolation.h"

#include <optional>

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

namespace {

template <class T>
std::optional<T> curve(const Value& p0, const Value& m0, const Value& m1, const Value& p1,
                       double s) {
    const T* a = p0.as<T>();
    const T* ta = m0.as<T>();
    const T* tb = m1.as<T>();
    const T* b = p1.as<T>();
    if (!a || !ta || !tb || !b) {
        return std::nullopt;
    }
    const double s2 = s * s;
    const double s3 = s2 * s;
    return (2 * s3 - 3 * s2 + 1) * *a + (s3 - 2 * s2 + s) * *ta + (-2 * s3 + 3 * s2) * *b +
           (s3 - s2) * *tb;
}

} // namespace

Value hermite(const Value& from, const Value& outTangent, const Value& inTangent, const Value& to,
              double progress, bool asRotation) {
    const auto p0 = from.number(), m0 = outTangent.number(), m1 = inTangent.number(),
               p1 = to.number();
    if (p0 && m0 && m1 && p1) {
        return *curve<double>(*p0, *m0, *m1, *p1, progress);
    }
    if (const auto v = curve<glm::dvec3>(from, outTangent, inTangent, to, progress)) {
        return *v;
    }
    if (const auto v = curve<glm::dvec4>(from, outTangent, inTangent, to, progress)) {
        const double length = glm::length(*v);
        return asRotation && length > 0 ? *v / length : *v;
    }
    return interpolate(from, to, progress, asRotation);
}

} // namespace scene::detail
