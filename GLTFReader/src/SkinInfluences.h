#pragma once

// A skinned vertex carries four influences in the scene graph; files may give more, in extra
// JOINTS_n / WEIGHTS_n sets.

#include <SceneGraph/GeometrySource.h>
#include <memory>
#include <vector>

namespace gltf {

struct InfluenceSet {
    std::shared_ptr<scene::GeometrySource> joints;
    std::shared_ptr<scene::GeometrySource> weights;
};

// One set of four influences per vertex from several: for each vertex the four joints with the
// largest weights (a joint named in several sets counts with the sum of its weights), their
// weights scaled to keep the vertex's total. Joints are 16-bit integers, weights floats; unused
// places hold joint 0 with weight 0. Sets must cover the same number of vertices (refused with
// DataInconsistent otherwise).
InfluenceSet strongestInfluences(const std::vector<InfluenceSet>& sets);

} // namespace gltf
