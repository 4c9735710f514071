#pragma once

#include <string_view>

namespace gltf {

// The shader-modifier text of that name ("GLTFShaderModifierSurface", …), compiled into the
// reader. The texts read the material's named values as uniforms. Asking for a name the
// reader does not carry is a programming error and throws std::logic_error.
std::string_view shaderModifier(std::string_view name);

} // namespace gltf
