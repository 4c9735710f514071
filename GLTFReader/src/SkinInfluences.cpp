#include "SkinInfluences.h"

#include <GLTFReader/GLTFUnarchiveError.h>
#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace gltf {
namespace {

constexpr int influencesPerVertex = 4;

struct Influence {
    std::uint16_t joint = 0;
    double weight = 0;
};

using Influences = std::vector<Influence>;

std::size_t commonVertexCount(const std::vector<InfluenceSet>& sets) {
    const std::size_t count = sets.front().joints->vectorCount();
    for (const InfluenceSet& set : sets) {
        if (set.joints->vectorCount() != count || set.weights->vectorCount() != count) {
            throw GLTFUnarchiveError::dataInconsistent(
                "loadMesh: joint and weight sets cover different numbers of vertices: " +
                std::to_string(set.joints->vectorCount()) + ", " +
                std::to_string(set.weights->vectorCount()) + " and " + std::to_string(count));
        }
    }
    return count;
}

void addInfluence(Influences& influences, double joint, double weight) {
    if (!(weight > 0)) {
        return;
    }
    const auto number = static_cast<std::uint16_t>(joint);
    const auto same = std::find_if(influences.begin(), influences.end(),
                                   [&](const Influence& known) { return known.joint == number; });
    if (same != influences.end()) {
        same->weight += weight;
    } else {
        influences.push_back({number, weight});
    }
}

Influences influencesOf(const std::vector<InfluenceSet>& sets, std::size_t vertex) {
    Influences influences;
    for (const InfluenceSet& set : sets) {
        const glm::dvec4 joints = set.joints->vector(vertex);
        const glm::dvec4 weights = set.weights->normalizedVector(vertex);
        for (int component = 0; component < influencesPerVertex; ++component) {
            addInfluence(influences, joints[component], weights[component]);
        }
    }
    return influences;
}

// The four strongest, scaled so that their weights keep the vertex's total.
std::array<Influence, influencesPerVertex> strongest(Influences influences) {
    double total = 0;
    for (const Influence& influence : influences) {
        total += influence.weight;
    }
    const auto kept = std::min<std::size_t>(influences.size(), influencesPerVertex);
    std::stable_sort(influences.begin(), influences.end(),
                     [](const Influence& a, const Influence& b) { return a.weight > b.weight; });
    double keptTotal = 0;
    for (std::size_t place = 0; place < kept; ++place) {
        keptTotal += influences[place].weight;
    }
    std::array<Influence, influencesPerVertex> result{};
    for (std::size_t place = 0; place < kept; ++place) {
        result[place] = {influences[place].joint, influences[place].weight * total / keptTotal};
    }
    return result;
}

std::shared_ptr<scene::GeometrySource> jointSource(const std::vector<std::uint16_t>& joints) {
    std::vector<std::uint8_t> bytes(joints.size() * sizeof(std::uint16_t));
    std::memcpy(bytes.data(), joints.data(), bytes.size());
    const scene::SourceLayout layout{.vectorCount = joints.size() / influencesPerVertex,
                                     .usesFloatComponents = false,
                                     .signedComponents = false,
                                     .componentsPerVector = influencesPerVertex,
                                     .bytesPerComponent = sizeof(std::uint16_t),
                                     .dataOffset = 0,
                                     .dataStride = influencesPerVertex * sizeof(std::uint16_t)};
    return scene::GeometrySource::create(scene::makeBytes(std::move(bytes)),
                                         scene::GeometrySemantic::boneIndices, layout);
}

} // namespace

InfluenceSet strongestInfluences(const std::vector<InfluenceSet>& sets) {
    const std::size_t vertexCount = commonVertexCount(sets);
    std::vector<std::uint16_t> joints;
    std::vector<glm::vec4> weights;
    joints.reserve(vertexCount * influencesPerVertex);
    weights.reserve(vertexCount);
    for (std::size_t vertex = 0; vertex < vertexCount; ++vertex) {
        const std::array<Influence, influencesPerVertex> kept =
            strongest(influencesOf(sets, vertex));
        glm::vec4 vertexWeights(0);
        for (int place = 0; place < influencesPerVertex; ++place) {
            joints.push_back(kept[place].joint);
            vertexWeights[place] = static_cast<float>(kept[place].weight);
        }
        weights.push_back(vertexWeights);
    }
    return {.joints = jointSource(joints),
            .weights = scene::GeometrySource::fromVectors<4>(scene::GeometrySemantic::boneWeights,
                                                             std::span<const glm::vec4>(weights))};
}

} // namespace gltf
