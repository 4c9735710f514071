#pragma once

// Key values of animations as the types they stand for, and their USD forms.

#include <SceneGraph/Value.h>
#include <USD/layer/ValueTypes.h>

namespace usd::writer {

// A 3-vector value; `fallback` for anything else.
glm::dvec3 vectorOf(const scene::Value& value, const glm::dvec3& fallback);
// A rotation given as a quaternion or a 4-vector (x, y, z, w); `fallback` for anything else.
scene::Quaternion rotationOf(const scene::Value& value, const scene::Quaternion& fallback);
// A number; `fallback` for anything else.
double numberOf(const scene::Value& value, double fallback);

// Unit length, or identity for a zero or non-finite rotation.
scene::Quaternion normalizedRotation(const scene::Quaternion& rotation);
// `rotation` or its negation, whichever lies on the same side as `previous`, so that
// interpolation between them takes the shorter arc.
scene::Quaternion alongShorterArc(const scene::Quaternion& rotation,
                                  const scene::Quaternion& previous);

Vec3f toVec3f(const glm::dvec3& v);
Vec3d toVec3d(const glm::dvec3& v);
Quatf toQuatf(const scene::Quaternion& q);
Matrix4d toMatrix4d(const scene::Matrix4& m);

} // namespace usd::writer
