#pragma once

// A large rippled grid of triangles that everything per-vertex follows: a texture-coordinate
// seam down its middle, skin weights shared between two bones, and a morph target.

#include <SceneGraph/Scene.h>
#include <cstddef>
#include <memory>

namespace usd::test {

struct GridScene {
    std::shared_ptr<scene::Scene> scene;
    std::shared_ptr<scene::Node> body; // the skinned, morphing grid
    std::size_t triangles = 0;
};

// Hips ─ Spine bones, and Body: `columns` × `rows` quads of two triangles each. The vertices
// of the middle column are doubled: the left half reads u from 0 to 0.5, the right half from
// 1.5 to 2, so the seam has two texture coordinates at each of its points. A vertex is
// weighted to Spine by how far right it lies, the rest to Hips; the target "Lift" raises
// every vertex by 0.1.
GridScene skinnedGrid(std::size_t columns, std::size_t rows);

} // namespace usd::test
