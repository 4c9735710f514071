#pragma once

#include <glm/glm.hpp>

namespace brightfold::preview {

/// An axis-aligned box; empty until a point is added.
struct Bounds {
    glm::dvec3 min{INFINITY};
    glm::dvec3 max{-INFINITY};

    bool isEmpty() const { return min.x > max.x; }
    glm::dvec3 center() const { return (min + max) * 0.5; }
    /// Half the diagonal.
    double radius() const { return glm::length(max - min) * 0.5; }

    /// Non-finite points are ignored.
    void add(const glm::dvec3& point);
    /// Adds the eight corners of `box` moved by `transform`.
    void addTransformed(const Bounds& box, const glm::dmat4& transform);
};

} // namespace brightfold::preview
