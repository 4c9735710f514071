#include "Bounds.h"

#include <cmath>

namespace brightfold::preview {

void Bounds::add(const glm::dvec3& point) {
    if (!std::isfinite(point.x) || !std::isfinite(point.y) || !std::isfinite(point.z)) {
        return;
    }
    min = glm::min(min, point);
    max = glm::max(max, point);
}

void Bounds::addTransformed(const Bounds& box, const glm::dmat4& transform) {
    if (box.isEmpty()) {
        return;
    }
    for (int corner = 0; corner < 8; ++corner) {
        const glm::dvec3 point((corner & 1) ? box.max.x : box.min.x,
                               (corner & 2) ? box.max.y : box.min.y,
                               (corner & 4) ? box.max.z : box.min.z);
        add(glm::dvec3(transform * glm::dvec4(point, 1.0)));
    }
}

} // namespace brightfold::preview
