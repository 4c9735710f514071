#include "KeyframeInterpolation.h"

#include <GLTFReader/GLTFUnarchiveError.h>

namespace gltf {

Interpolation interpolationOf(const std::optional<std::string>& name,
                              std::string_view operationName) {
    if (!name || *name == "LINEAR") {
        return Interpolation::linear;
    }
    if (*name == "STEP") {
        return Interpolation::step;
    }
    if (*name == "CUBICSPLINE") {
        return Interpolation::cubicSpline;
    }
    throw GLTFUnarchiveError::notSupported(std::string(operationName) + ": interpolation " + *name +
                                           " is not supported");
}

scene::AnimationCalculationMode calculationModeOf(Interpolation interpolation) {
    return interpolation == Interpolation::step ? scene::AnimationCalculationMode::discrete
                                                : scene::AnimationCalculationMode::linear;
}

} // namespace gltf
