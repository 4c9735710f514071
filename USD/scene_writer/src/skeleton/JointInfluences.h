#pragma once

// The joints and weights that move each vertex of a skinned geometry, as a skeleton reads them.

#include "Notes.h"

#include <SceneGraph/Skinner.h>
#include <USD/layer/Value.h>
#include <cstdint>
#include <span>
#include <vector>

namespace usd::writer {

// At most this many joints move one vertex: the norm viewers are sure to handle.
inline constexpr std::size_t kMaxInfluences = 4;

// Per vertex `elementSize` joint indices and weights (as many as the busiest vertex has, at
// most four), weights summing to 1; unused slots hold joint 0 with weight 0.
struct JointInfluences {
    int elementSize = 1;
    Array<std::int32_t> indices;
    Array<float> weights;

    // The influences of the listed vertices, in that order.
    JointInfluences select(std::span<const std::uint32_t> vertices) const;
    // The same, moved out rather than copied when the list is every vertex in order (a big
    // mesh's arrays are tens of megabytes); this object is then left empty.
    JointInfluences take(std::span<const std::uint32_t> vertices);
};

// Reads the skinner's weights and bone indices for `vertexCount` vertices and maps bones to
// joints through `boneJoints` (-1 for a bone that is no joint). Weights that are negative,
// not finite, or name a bone out of range are dropped; beyond the strongest four are dropped;
// what remains is normalised. A vertex left with no weight would collapse to the skeleton's
// origin: it follows the skin's first bone instead. Each repair is reported once, with its
// count, for `label`.
JointInfluences readJointInfluences(const scene::Skinner& skinner, std::span<const int> boneJoints,
                                    std::size_t vertexCount, const std::string& label,
                                    Notes& notes);

} // namespace usd::writer
