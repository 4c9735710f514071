#pragma once

#include <span>
#include <string_view>

namespace gltf::detail {

struct EmbeddedText {
    std::string_view name;
    std::string_view text;
};

// Every shader-modifier text under resources/, compiled into the library.
std::span<const EmbeddedText> embeddedShaderModifiers();

} // namespace gltf::detail
