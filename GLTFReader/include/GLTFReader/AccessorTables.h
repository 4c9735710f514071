#pragma once

// The lookup tables every accessor reader shares: glTF component types, element types and
// primitive modes. A value outside a table gives nothing; each loader words its own refusal.

#include <SceneGraph/GeometryElement.h>
#include <cstdint>
#include <optional>
#include <string_view>

namespace gltf {

// Whether a glTF componentType holds floats (5126) or integers (5120-5123, 5125).
std::optional<bool> componentIsFloat(std::int64_t componentType);

// 1, 2 or 4 bytes per component.
std::optional<int> bytesPerComponent(std::int64_t componentType);

// BYTE and SHORT are two's-complement; the other integer types are unsigned.
bool componentIsSigned(std::int64_t componentType);

// "SCALAR" 1, "VEC2" 2, "VEC3" 3, "VEC4" 4, "MAT2" 4, "MAT3" 9, "MAT4" 16 (case-sensitive).
std::optional<int> componentsPerElement(std::string_view type);

// POINTS, LINES, TRIANGLES and TRIANGLE_STRIP; loops, line strips and fans have no type.
std::optional<scene::PrimitiveType> primitiveTypeForMode(std::int64_t mode);

} // namespace gltf
