#include "MorphBlending.h"

#include "VertexStreams.h"

#include <SceneGraph/Geometry.h>
#include <SceneGraph/Morpher.h>

namespace brightfold::preview {
namespace {

using scene::GeometrySemantic;

std::vector<glm::vec3> offsetsOf(const std::shared_ptr<scene::GeometrySource>& source,
                                 const std::vector<glm::vec3>& base, bool wholeShape) {
    std::vector<glm::vec3> offsets;
    if (!source || base.empty()) {
        return offsets;
    }
    offsets.reserve(base.size());
    for (std::size_t vertex = 0; vertex < base.size(); ++vertex) {
        const glm::vec3 value(normalizedVectorAt(*source, vertex));
        offsets.push_back(wholeShape ? value - base[vertex] : value);
    }
    return offsets;
}

bool matchesBase(const scene::Geometry& target, std::size_t vertexCount) {
    for (const auto& source : target.sources()) {
        const bool moves = source->semantic() == GeometrySemantic::vertex ||
                           source->semantic() == GeometrySemantic::normal;
        if (moves && source->vectorCount() != vertexCount) {
            return false;
        }
    }
    return true;
}

template <class Vector>
void addWeighted(std::vector<Vector>& into, const std::vector<Vector>& offsets, float weight) {
    if (offsets.empty() || weight == 0.0f) {
        return;
    }
    for (std::size_t vertex = 0; vertex < into.size(); ++vertex) {
        into[vertex] += weight * offsets[vertex];
    }
}

} // namespace

std::vector<MorphOffsets> readMorphOffsets(const scene::Morpher& morpher, const VertexStreams& base,
                                           QStringList& problems) {
    const bool wholeShapes = morpher.calculationMode() == scene::MorpherCalculationMode::normalized;
    std::vector<MorphOffsets> targets;
    for (const auto& target : morpher.targets()) {
        if (!matchesBase(*target, base.vertexCount())) {
            problems << QStringLiteral("A morph target with another vertex count than its mesh "
                                       "was left out.");
            targets.emplace_back();
            continue;
        }
        targets.push_back(
            {offsetsOf(target->firstSource(GeometrySemantic::vertex), base.positions, wholeShapes),
             offsetsOf(target->firstSource(GeometrySemantic::normal), base.normals, wholeShapes)});
    }
    return targets;
}

void blendMorphTargets(const VertexStreams& base, const std::vector<MorphOffsets>& targets,
                       const std::vector<double>& weights, VertexStreams& blended) {
    blended.positions = base.positions;
    blended.normals = base.normals;
    for (std::size_t target = 0; target < targets.size() && target < weights.size(); ++target) {
        const auto weight = static_cast<float>(weights[target]);
        addWeighted(blended.positions, targets[target].positions, weight);
        addWeighted(blended.normals, targets[target].normals, weight);
    }
    for (glm::vec3& normal : blended.normals) {
        const float length = glm::length(normal);
        if (length > 0.0f) {
            normal /= length;
        }
    }
}

} // namespace brightfold::preview
