#pragma once

#include <array>
#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>
#include <optional>
#include <span>

namespace scene {

/// A 4×4 transform in double precision.
///
/// The scene graph names the sixteen fields m11 … m44 (row, column) and uses row vectors: a
/// point p becomes p · M, so the translation sits in m41, m42, m43. A glTF matrix's sixteen
/// numbers are copied in order into m11, m12, …, m44.
///
/// In GLM (column-major, column vectors) the same sixteen numbers in the same memory order are
/// the ordinary column-vector matrix: `matrix[r - 1][c - 1] == m_rc`, the translation is
/// `matrix[3]`, points transform as `matrix * glm::dvec4(p, 1)`, and a child's world transform
/// is `parentWorld * local`. Use `matrixFromElements` / `elementsOf` to move between the two
/// views instead of indexing by hand.
using Matrix4 = glm::dmat4;

/// A rotation. Everywhere in this library quaternions are given and returned in the order
/// (x, y, z, w); GLM's own constructor takes (w, x, y, z), so build them with
/// `quaternionFromXYZW`.
using Quaternion = glm::dquat;

/// The sixteen numbers m11, m12, …, m44 in that order become a matrix.
Matrix4 matrixFromElements(std::span<const double, 16> m11ToM44);

/// `point` moved by `matrix` as the homogeneous point (x, y, z, 1), divided by the resulting w.
glm::dvec3 transformPoint(const Matrix4& matrix, const glm::dvec3& point);

/// The sixteen fields m11, m12, …, m44 of a matrix, in that order.
std::array<double, 16> elementsOf(const Matrix4& matrix);

Quaternion quaternionFromXYZW(double x, double y, double z, double w);
Quaternion quaternionFromXYZW(const glm::dvec4& xyzw);
glm::dvec4 xyzwOf(const Quaternion& rotation);

/// A local transform split into translation, rotation and scale (applied scale first).
struct TransformComponents {
    glm::dvec3 position{0.0};
    Quaternion orientation{1.0, 0.0, 0.0, 0.0};
    glm::dvec3 scale{1.0};

    friend bool operator==(const TransformComponents&, const TransformComponents&) = default;
};

/// translation · rotation · scale as one matrix.
Matrix4 composeTransform(const TransformComponents& components);

/// The closest translation, rotation and scale of an affine matrix. A negative determinant is
/// expressed as a negative x scale. Shear and projective terms cannot be represented and are
/// dropped; `isExactlyDecomposable` tells whether anything was lost.
TransformComponents decomposeTransform(const Matrix4& matrix);

/// Whether `decomposeTransform` reproduces the matrix (within rounding).
bool isExactlyDecomposable(const Matrix4& matrix);

} // namespace scene
