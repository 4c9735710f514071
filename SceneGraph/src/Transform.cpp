#include <SceneGraph/Transform.h>
#include <algorithm>
#include <cmath>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

namespace scene {
namespace {

Quaternion rotationOfAxes(const glm::dvec3 (&axes)[3], const glm::dvec3& scale) {
    if (scale.x == 0.0 || scale.y == 0.0 || scale.z == 0.0) {
        return Quaternion(1.0, 0.0, 0.0, 0.0);
    }
    const glm::dmat3 rotation(axes[0] / scale.x, axes[1] / scale.y, axes[2] / scale.z);
    return glm::normalize(glm::quat_cast(rotation));
}

double largestMagnitude(const Matrix4& matrix) {
    double largest = 0.0;
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            largest = std::max(largest, std::abs(matrix[column][row]));
        }
    }
    return largest;
}

} // namespace

Matrix4 matrixFromElements(std::span<const double, 16> m11ToM44) {
    return glm::make_mat4(m11ToM44.data());
}

std::array<double, 16> elementsOf(const Matrix4& matrix) {
    std::array<double, 16> elements{};
    std::copy_n(glm::value_ptr(matrix), 16, elements.begin());
    return elements;
}

glm::dvec3 transformPoint(const Matrix4& matrix, const glm::dvec3& point) {
    const glm::dvec4 moved = matrix * glm::dvec4(point, 1.0);
    return moved.w == 0.0 || moved.w == 1.0 ? glm::dvec3(moved) : glm::dvec3(moved) / moved.w;
}

Quaternion quaternionFromXYZW(double x, double y, double z, double w) {
    return Quaternion(w, x, y, z);
}

Quaternion quaternionFromXYZW(const glm::dvec4& xyzw) {
    return quaternionFromXYZW(xyzw.x, xyzw.y, xyzw.z, xyzw.w);
}

glm::dvec4 xyzwOf(const Quaternion& rotation) {
    return {rotation.x, rotation.y, rotation.z, rotation.w};
}

Matrix4 composeTransform(const TransformComponents& components) {
    const double length = glm::length(components.orientation);
    const Quaternion unit =
        length > 0.0 ? components.orientation / length : Quaternion(1.0, 0.0, 0.0, 0.0);
    return glm::translate(Matrix4(1.0), components.position) * glm::mat4_cast(unit) *
           glm::scale(Matrix4(1.0), components.scale);
}

TransformComponents decomposeTransform(const Matrix4& matrix) {
    glm::dvec3 axes[3] = {glm::dvec3(matrix[0]), glm::dvec3(matrix[1]), glm::dvec3(matrix[2])};
    glm::dvec3 scale(glm::length(axes[0]), glm::length(axes[1]), glm::length(axes[2]));
    if (glm::determinant(glm::dmat3(axes[0], axes[1], axes[2])) < 0.0) {
        scale.x = -scale.x;
    }
    return {glm::dvec3(matrix[3]), rotationOfAxes(axes, scale), scale};
}

bool isExactlyDecomposable(const Matrix4& matrix) {
    const Matrix4 recomposed = composeTransform(decomposeTransform(matrix));
    const double tolerance = 1e-9 * std::max(1.0, largestMagnitude(matrix));
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            if (!(std::abs(recomposed[column][row] - matrix[column][row]) <= tolerance)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace scene
