#define GLM_ENABLE_EXPERIMENTAL
#include "vrm/SpringBoneMath.h"

#include <cmath>
#include <glm/gtx/quaternion.hpp>

namespace gltf::vrm {

glm::vec3 worldPositionOf(const scene::Node& node) {
    return glm::vec3(node.worldPosition());
}

glm::quat localRotationOf(const scene::Node& node) {
    return glm::quat(node.orientation());
}

glm::quat worldRotationOf(const scene::Node& node) {
    return glm::quat(node.worldOrientation());
}

void setLocalRotation(scene::Node& node, const glm::quat& rotation) {
    node.setOrientation(scene::Quaternion(rotation));
}

glm::vec3 worldPointOf(const scene::Node& node, const glm::vec3& localPoint) {
    return glm::vec3(node.convertPositionToNode(glm::dvec3(localPoint), nullptr));
}

glm::vec3 localPointOf(const scene::Node& node, const glm::vec3& worldPoint) {
    return glm::vec3(node.convertPosition(glm::dvec3(worldPoint), nullptr));
}

float accumulatedScaleX(const scene::Node& node) {
    float scale = static_cast<float>(node.scale().x);
    for (auto ancestor = node.parentNode(); ancestor; ancestor = ancestor->parentNode()) {
        scale *= static_cast<float>(ancestor->scale().x);
    }
    return scale;
}

std::optional<glm::vec3> normalized(const glm::vec3& vector) {
    const float length = glm::length(vector);
    if (!(length > 0.0f) || !std::isfinite(length)) {
        return std::nullopt;
    }
    return vector / length;
}

glm::quat normalizedOrIdentity(const glm::quat& rotation) {
    const float length = glm::length(rotation);
    if (!(length > 0.0f)) {
        return glm::quat(1.0f, 0.0f, 0.0f, 0.0f);
    }
    return rotation / length;
}

glm::quat shortestArc(const glm::vec3& from, const glm::vec3& to) {
    return glm::rotation(from, to);
}

} // namespace gltf::vrm
