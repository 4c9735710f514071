#pragma once

#include <SceneGraph/Transform.h>
#include <USD/layer/Value.h>
#include <optional>

namespace usd::writer {

// A UsdTransform2d's inputs: st is scaled, then rotated counter-clockwise, then translated.
struct Transform2d {
    float rotationDegrees = 0;
    Vec2f scale{1, 1};
    Vec2f translation{0, 0};
};

// The texture's uv map expressed in USD's st = (u, 1 − v) as a Transform2d; none when the map
// shears (its axes are not perpendicular), which a Transform2d cannot express.
std::optional<Transform2d> transform2dFor(const scene::Matrix4& uvTransform);

// Texture coordinates already moved by the uv map, for a texture whose map has no Transform2d.
// Takes and returns st values.
Array<Vec2f> bakeTexCoords(const Array<Vec2f>& st, const scene::Matrix4& uvTransform);

} // namespace usd::writer
