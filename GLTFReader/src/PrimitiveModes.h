#pragma once

// Line loops, line strips and triangle fans have no primitive type of their own in the scene
// graph; they are unrolled into the lines and triangles they draw.

#include <SceneGraph/GeometryElement.h>
#include <cstdint>
#include <memory>

namespace gltf {

// The glTF mode whose element lists a primitive's indices one by one, as they are written.
inline constexpr std::int64_t pointsMode = 0;

// LINE_LOOP (2), LINE_STRIP (3) and TRIANGLE_FAN (6).
bool isUnrolledMode(std::int64_t mode);

// The lines (for a loop or a strip) or triangles (for a fan) that the indices of `listed`, a
// point element, draw in `mode`, keeping their orientation: a loop closes with the line from
// its last index back to its first, and fan triangle i is (i + 1, i + 2, 0).
std::shared_ptr<scene::GeometryElement> unrolledElement(const scene::GeometryElement& listed,
                                                        std::int64_t mode);

} // namespace gltf
