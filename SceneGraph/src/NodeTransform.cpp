#include <SceneGraph/Node.h>

namespace scene {

Matrix4 Node::transform() const {
    return matrix_ ? *matrix_ : composeTransform(components_);
}

void Node::setTransform(const Matrix4& transform) {
    matrix_ = transform;
    components_ = decomposeTransform(transform);
}

bool Node::isTransformDecomposable() const {
    return !matrix_ || isExactlyDecomposable(*matrix_);
}

void Node::adoptComponents(const TransformComponents& components) {
    components_ = components;
    matrix_.reset();
}

void Node::setPosition(const glm::dvec3& position) {
    auto components = components_;
    components.position = position;
    adoptComponents(components);
}

void Node::setOrientation(const Quaternion& orientation) {
    auto components = components_;
    components.orientation = orientation;
    adoptComponents(components);
}

void Node::setScale(const glm::dvec3& scale) {
    auto components = components_;
    components.scale = scale;
    adoptComponents(components);
}

Matrix4 Node::worldTransform() const {
    Matrix4 world = transform();
    for (auto ancestor = parentNode(); ancestor; ancestor = ancestor->parentNode()) {
        world = ancestor->transform() * world;
    }
    return world;
}

void Node::setWorldTransform(const Matrix4& worldTransform) {
    const auto parent = parentNode();
    setTransform(parent ? glm::inverse(parent->worldTransform()) * worldTransform : worldTransform);
}

glm::dvec3 Node::worldPosition() const {
    return glm::dvec3(worldTransform()[3]);
}

void Node::setWorldPosition(const glm::dvec3& worldPosition) {
    const auto parent = parentNode();
    setPosition(parent ? parent->convertPosition(worldPosition, nullptr) : worldPosition);
}

Quaternion Node::worldOrientation() const {
    return decomposeTransform(worldTransform()).orientation;
}

void Node::setWorldOrientation(const Quaternion& worldOrientation) {
    const auto parent = parentNode();
    setOrientation(parent ? glm::inverse(parent->worldOrientation()) * worldOrientation
                          : worldOrientation);
}

glm::dvec3 Node::convertPosition(const glm::dvec3& position, const Node* from) const {
    const glm::dvec3 world = from ? transformPoint(from->worldTransform(), position) : position;
    return transformPoint(glm::inverse(worldTransform()), world);
}

glm::dvec3 Node::convertPositionToNode(const glm::dvec3& position, const Node* to) const {
    const glm::dvec3 world = transformPoint(worldTransform(), position);
    return to ? to->convertPosition(world, nullptr) : world;
}

} // namespace scene
