#pragma once

#include <SceneGraph/Color.h>
#include <SceneGraph/Transform.h>
#include <assimp/matrix4x4.h>
#include <assimp/quaternion.h>
#include <assimp/types.h>
#include <assimp/vector3.h>
#include <string>

namespace modelimporter {

// Assimp's matrices are row-major with column vectors; GLM is column-major with column
// vectors, so element (row r, column c) lands in matrix[c][r].
inline scene::Matrix4 toMatrix(const aiMatrix4x4& m) {
    return scene::Matrix4(m.a1, m.b1, m.c1, m.d1, m.a2, m.b2, m.c2, m.d2, m.a3, m.b3, m.c3, m.d3,
                          m.a4, m.b4, m.c4, m.d4);
}

inline glm::dvec3 toVector(const aiVector3D& v) {
    return {v.x, v.y, v.z};
}

inline scene::Quaternion toQuaternion(const aiQuaternion& q) {
    return scene::quaternionFromXYZW(q.x, q.y, q.z, q.w);
}

inline scene::Color toColor(const aiColor4D& c) {
    return {c.r, c.g, c.b, c.a};
}

inline std::string toString(const aiString& text) {
    return std::string(text.C_Str(), text.length);
}

} // namespace modelimporter
