#pragma once

#include <SceneGraph/Color.h>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace gltf {

// The numbers of a material factor, or `fallback` when the file leaves the factor out. A factor
// with fewer numbers than `fallback` has is refused (DataInconsistent, naming `factorName`):
// its colour or value would otherwise be made up.
std::vector<float> factorOrDefault(const std::optional<std::vector<float>>& factor,
                                   std::vector<float> fallback, std::string_view factorName);

// The colour of a red, green, blue, alpha factor, taken as it is: no colour-space conversion
// and no clamping. `rgba` holds at least four numbers.
scene::Color colorOf(std::span<const float> rgba);

} // namespace gltf
