#include "MaterialFactors.h"

#include <GLTFReader/GLTFUnarchiveError.h>
#include <string>

namespace gltf {

std::vector<float> factorOrDefault(const std::optional<std::vector<float>>& factor,
                                   std::vector<float> fallback, std::string_view factorName) {
    if (!factor) {
        return fallback;
    }
    if (factor->size() < fallback.size()) {
        throw GLTFUnarchiveError::dataInconsistent(
            "loadMaterial: " + std::string(factorName) + " needs " +
            std::to_string(fallback.size()) + " numbers, has " + std::to_string(factor->size()));
    }
    return *factor;
}

scene::Color colorOf(std::span<const float> rgba) {
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

} // namespace gltf
