#pragma once

#include <string>

namespace scene {

class Node;
class Scene;

/// A readable, deterministic text description of a whole scene for tests and tools: its
/// key-value entries and background, then every node in hierarchy order, indented by depth,
/// with its transform, camera, geometry (sources, elements, materials and their slots),
/// morpher, skinner, free-key values and animations.
std::string dumpScene(const Scene& scene);

/// The same description for one node and everything below it.
std::string dumpNode(const Node& node);

} // namespace scene
