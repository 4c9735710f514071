#include "JointInfluences.h"

#include <SceneGraph/GeometrySource.h>
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace usd::writer {
namespace {

// Integer weights mean fractions of their type's range, as glTF stores them.
double normalizedComponent(const scene::GeometrySource& source, std::size_t vertex, int component) {
    const double stored = source.component(vertex, component);
    if (source.usesFloatComponents())
        return stored;
    const int bits = 8 * source.bytesPerComponent();
    if (source.layout().signedComponents)
        return std::max(stored / (std::ldexp(1.0, bits - 1) - 1), -1.0);
    return stored / (std::ldexp(1.0, bits) - 1);
}

struct RepairCounts {
    std::size_t invalid = 0;   // negative, non-finite or naming no joint
    std::size_t truncated = 0; // vertices with more than four non-zero weights
    std::size_t empty = 0;     // vertices left with no weight
    std::size_t missing = 0;   // vertices the sources do not reach
};

using Influence = std::pair<double, int>; // weight, joint

// The vertex's usable influences; false when the sources do not reach the vertex.
bool readVertex(const scene::Skinner& skinner, std::span<const int> boneJoints, std::size_t v,
                std::vector<Influence>& influences, RepairCounts& counts) {
    influences.clear();
    const scene::GeometrySource& weights = *skinner.boneWeights();
    const scene::GeometrySource& bones = *skinner.boneIndices();
    if (v >= weights.vectorCount() || v >= bones.vectorCount()) {
        ++counts.missing;
        return false;
    }
    const int slots = std::min(weights.componentsPerVector(), bones.componentsPerVector());
    for (int k = 0; k < slots; ++k) {
        const double weight = normalizedComponent(weights, v, k);
        if (weight == 0)
            continue;
        const double bone = bones.component(v, k);
        const bool known = bone >= 0 && bone < static_cast<double>(boneJoints.size()) &&
                           boneJoints[static_cast<std::size_t>(bone)] >= 0;
        if (!known || !(weight > 0) || !std::isfinite(weight)) {
            ++counts.invalid;
            continue;
        }
        influences.emplace_back(weight, boneJoints[static_cast<std::size_t>(bone)]);
    }
    return true;
}

void report(const RepairCounts& counts, const std::string& label, Findings& findings) {
    if (counts.missing > 0)
        findings.push_back(label + ": " + std::to_string(counts.missing) +
                           " vertices have no skin weights; they follow the skin's first bone.");
    if (counts.invalid > 0)
        findings.push_back(label + ": " + std::to_string(counts.invalid) +
                           " skin weights that were negative, not numbers or named no bone "
                           "were dropped.");
    if (counts.truncated > 0)
        findings.push_back(label + ": " + std::to_string(counts.truncated) +
                           " vertices are moved by more than " + std::to_string(kMaxInfluences) +
                           " bones; the strongest " + std::to_string(kMaxInfluences) +
                           " were kept.");
    if (counts.empty > 0)
        findings.push_back(label + ": " + std::to_string(counts.empty) +
                           " vertices had only zero skin weights; they follow the skin's first "
                           "bone.");
}

} // namespace

JointInfluences JointInfluences::select(std::span<const std::uint32_t> vertices) const {
    JointInfluences selected;
    selected.elementSize = elementSize;
    const auto size = static_cast<std::size_t>(elementSize);
    selected.indices.reserve(vertices.size() * size);
    selected.weights.reserve(vertices.size() * size);
    for (const std::uint32_t v : vertices) {
        const auto first = static_cast<std::ptrdiff_t>(v * size);
        const auto last = first + static_cast<std::ptrdiff_t>(size);
        selected.indices.insert(selected.indices.end(), indices.begin() + first,
                                indices.begin() + last);
        selected.weights.insert(selected.weights.end(), weights.begin() + first,
                                weights.begin() + last);
    }
    return selected;
}

JointInfluences readJointInfluences(const scene::Skinner& skinner, std::span<const int> boneJoints,
                                    std::size_t vertexCount, const std::string& label,
                                    Findings& findings) {
    const int slots = std::min(skinner.boneWeights()->componentsPerVector(),
                               skinner.boneIndices()->componentsPerVector());
    JointInfluences result;
    result.elementSize = std::clamp(slots, 1, kMaxInfluences);
    const auto size = static_cast<std::size_t>(result.elementSize);
    result.indices.assign(vertexCount * size, 0);
    result.weights.assign(vertexCount * size, 0.0f);
    const auto firstBone = std::ranges::find_if(boneJoints, [](int j) { return j >= 0; });
    const int fallbackJoint = firstBone == boneJoints.end() ? 0 : *firstBone;

    RepairCounts counts;
    std::vector<Influence> influences;
    for (std::size_t v = 0; v < vertexCount; ++v) {
        const bool reached = readVertex(skinner, boneJoints, v, influences, counts);
        if (influences.size() > size) {
            std::ranges::stable_sort(influences, std::greater{}, &Influence::first);
            influences.resize(size);
            ++counts.truncated;
        }
        double sum = 0;
        for (const auto& [weight, joint] : influences)
            sum += weight;
        if (!(sum > 0)) {
            counts.empty += reached ? 1 : 0;
            influences.assign(1, {1.0, fallbackJoint});
            sum = 1;
        }
        for (std::size_t k = 0; k < influences.size(); ++k) {
            result.indices[v * size + k] = influences[k].second;
            result.weights[v * size + k] = static_cast<float>(influences[k].first / sum);
        }
    }
    report(counts, label, findings);
    return result;
}

} // namespace usd::writer
