#pragma once

#include <SceneGraph/Color.h>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <string_view>

namespace scene {

enum class LightType { directional, point, spot };

/// A punctual light. It shines down its node's −Z axis (directional and spot lights); point
/// and spot lights sit at the node's origin. Several nodes may share one light.
struct Light {
    static std::shared_ptr<Light> create() { return std::make_shared<Light>(); }

    std::string name;
    LightType type = LightType::point;
    /// Linear RGB; alpha is unused.
    Color color = Color::white(1);
    /// Candela for point and spot lights, lux for directional ones.
    double intensity = 1;
    /// Distance at which a point or spot light's influence ends; absent means unbounded.
    std::optional<double> range;
    /// Spot cone half-angles, radians: full brightness inside the inner angle, none beyond
    /// the outer one.
    double innerConeAngle = 0;
    double outerConeAngle = std::numbers::pi / 4;
};

/// "directional", "point" or "spot".
std::string_view lightTypeName(LightType type);

} // namespace scene
