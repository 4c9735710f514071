#pragma once

#include <SceneGraph/GeometryElement.h>
#include <glm/glm.hpp>
#include <memory>
#include <span>
#include <vector>

namespace gltf {

// One normal per position: the normalised mean of the unit normals of the triangles that use
// the vertex, each triangle counted once whatever its size. Vertices that no triangle uses get
// (0, 0, 0); triangles without area are skipped, as they have no direction. Strips count each
// of their triangles. Throws GLTFUnarchiveError for an element of points or lines or an index
// that names no position.
std::vector<glm::vec3>
averagedTriangleNormals(std::span<const glm::dvec3> positions,
                        std::span<const std::shared_ptr<scene::GeometryElement>> elements);

} // namespace gltf
