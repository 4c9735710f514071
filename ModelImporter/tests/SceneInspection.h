#pragma once

#include <SceneGraph/Geometry.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <glm/glm.hpp>
#include <limits>
#include <memory>
#include <vector>

// Every node of the scene that carries the part (&scene::Node::camera …), depth-first.
template <class Part>
std::vector<std::shared_ptr<scene::Node>> nodesWith(const scene::Scene& scene, Part part) {
    return scene.rootNode()->childNodesPassingTest(
        [part](const scene::Node& node) { return (node.*part)() != nullptr; });
}

inline std::vector<std::shared_ptr<scene::Node>> geometryNodes(const scene::Scene& scene) {
    return nodesWith(scene, &scene::Node::geometry);
}

struct Bounds {
    glm::dvec3 min{std::numeric_limits<double>::infinity()};
    glm::dvec3 max{-std::numeric_limits<double>::infinity()};
    glm::dvec3 size() const { return max - min; }
};

// The box around every vertex position as stored (node transforms are not applied).
inline Bounds vertexBounds(const scene::Scene& scene) {
    Bounds bounds;
    for (const auto& node : geometryNodes(scene)) {
        const auto positions = node->geometry()->firstSource(scene::GeometrySemantic::vertex);
        for (std::size_t i = 0; positions != nullptr && i < positions->vectorCount(); ++i) {
            const glm::dvec3 p(positions->vector(i));
            bounds.min = glm::min(bounds.min, p);
            bounds.max = glm::max(bounds.max, p);
        }
    }
    return bounds;
}

inline std::size_t totalVertexCount(const scene::Scene& scene) {
    std::size_t count = 0;
    for (const auto& node : geometryNodes(scene)) {
        count += node->geometry()->firstSource(scene::GeometrySemantic::vertex)->vectorCount();
    }
    return count;
}
