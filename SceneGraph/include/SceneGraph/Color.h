#pragma once

#include <cmath>

namespace scene {

/// A straight-alpha RGBA colour. Components are not clamped: factors read from files may lie
/// outside [0, 1] and are kept as they are.
struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    /// A grey of the given level: red = green = blue = `level`.
    static constexpr Color white(double level, double alpha = 1) {
        return {level, level, level, alpha};
    }

    friend bool operator==(const Color&, const Color&) = default;
};

/// The sRGB transfer function, for one colour component in [0, 1]: what a stored 8-bit colour
/// means in linear light, and back.
inline float linearFromSRGB(float encoded) {
    return encoded <= 0.04045f ? encoded / 12.92f : std::pow((encoded + 0.055f) / 1.055f, 2.4f);
}
inline float sRGBFromLinear(float linear) {
    return linear <= 0.0031308f ? linear * 12.92f : 1.055f * std::pow(linear, 1 / 2.4f) - 0.055f;
}

} // namespace scene
