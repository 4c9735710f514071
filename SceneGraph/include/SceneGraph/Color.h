#pragma once

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

} // namespace scene
