#pragma once

#include "NumberArrays.h"

#include <SceneGraph/Transform.h>
#include <USD/layer/Value.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Attribute values in whatever precision and role the file chose (half, float or double;
// float3, color3f, normal3f …), read as doubles. A value of another kind reads as nothing.
namespace usd::reader {

std::optional<double> readNumber(const Value* value);
std::optional<bool> readBool(const Value* value);
// Tokens, strings and asset paths.
std::optional<std::string> readText(const Value* value);
// A vector of 2 to 4 components (missing ones are 0), or a number in x.
std::optional<glm::dvec4> readVector(const Value* value);
std::optional<scene::Quaternion> readQuaternion(const Value* value);
// In the scene graph's layout: the file's sixteen numbers in order.
std::optional<scene::Matrix4> readMatrix(const Value* value);

std::vector<std::string> readTextArray(const Value* value);
// Empty for a value of another kind.
std::vector<scene::Matrix4> readMatrixArray(const Value* value);
// Quaternions of any precision; nullopt for a value of another kind.
std::optional<std::vector<scene::Quaternion>> readQuaternionArray(const Value* value);

} // namespace usd::reader
