#pragma once

// Node transforms read and written in the 32-bit floats the spring-bone step computes in.

#include <SceneGraph/Node.h>
#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>
#include <optional>

namespace gltf::vrm {

glm::vec3 worldPositionOf(const scene::Node& node);
glm::quat localRotationOf(const scene::Node& node);
glm::quat worldRotationOf(const scene::Node& node);
void setLocalRotation(scene::Node& node, const glm::quat& rotation);

// A point in `node`'s space in world space, and back.
glm::vec3 worldPointOf(const scene::Node& node, const glm::vec3& localPoint);
glm::vec3 localPointOf(const scene::Node& node, const glm::vec3& worldPoint);

// The x component of the product of the scales of the node and of all its ancestors.
float accumulatedScaleX(const scene::Node& node);

// The unit vector along `vector`; none for a zero-length or non-finite vector, whose direction
// is undefined.
std::optional<glm::vec3> normalized(const glm::vec3& vector);

// The unit rotation along `rotation`, or the identity when it has length 0.
glm::quat normalizedOrIdentity(const glm::quat& rotation);

// The shortest rotation turning unit vector `from` onto unit vector `to`; a half-turn about
// an axis perpendicular to `from` when they are opposite.
glm::quat shortestArc(const glm::vec3& from, const glm::vec3& to);

} // namespace gltf::vrm
