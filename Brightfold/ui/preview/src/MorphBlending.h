#pragma once

#include <QStringList>
#include <glm/glm.hpp>
#include <vector>

namespace scene {
class Morpher;
}

namespace brightfold::preview {

struct VertexStreams;

/// One morph target as offsets from the base shape; a stream is empty when the target does
/// not move that attribute.
struct MorphOffsets {
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
};

/// The morpher's targets as offsets from `base`. Targets that hold whole shapes have the base
/// subtracted; a target whose vertex count differs from the base's cannot be matched vertex by
/// vertex, so it moves nothing and is described in `problems`.
std::vector<MorphOffsets> readMorphOffsets(const scene::Morpher& morpher, const VertexStreams& base,
                                           QStringList& problems);

/// The base shape moved by every target with its weight: base + Σ weightᵢ · offsetᵢ. Normals
/// are renormalised. Missing weights count as 0.
void blendMorphTargets(const VertexStreams& base, const std::vector<MorphOffsets>& targets,
                       const std::vector<double>& weights, VertexStreams& blended);

} // namespace brightfold::preview
