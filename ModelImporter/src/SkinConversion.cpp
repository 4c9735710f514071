#include "SkinConversion.h"

#include "AssimpValues.h"

#include <ModelImporter/ModelImporter.h>
#include <SceneGraph/GeometrySource.h>
#include <SceneGraph/Skinner.h>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>
#include <vector>

namespace modelimporter {
namespace {

constexpr int influencesPerVertex = 4;

struct Influences {
    std::array<float, influencesPerVertex> weights{};
    std::array<std::uint16_t, influencesPerVertex> bones{};
    unsigned offered = 0;

    // Keeps the strongest four: a new weight replaces the weakest one if it is larger.
    void add(std::uint16_t bone, float weight) {
        // Assimp gives a bone that influences nothing one zero weight; it is no influence.
        if (!(weight > 0)) {
            return;
        }
        ++offered;
        const auto weakest = std::min_element(weights.begin(), weights.end());
        if (weight > *weakest) {
            bones[static_cast<std::size_t>(weakest - weights.begin())] = bone;
            *weakest = weight;
        }
    }

    glm::vec4 normalizedWeights() const {
        const glm::vec4 w(weights[0], weights[1], weights[2], weights[3]);
        const float total = w.x + w.y + w.z + w.w;
        return total > 0 ? w / total : w;
    }
};

std::vector<Influences> influencesOf(const aiMesh& mesh) {
    std::vector<Influences> influences(mesh.mNumVertices);
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
        const aiBone& bone = *mesh.mBones[b];
        for (unsigned w = 0; w < bone.mNumWeights; ++w) {
            const aiVertexWeight& weight = bone.mWeights[w];
            if (weight.mVertexId < influences.size()) {
                influences[weight.mVertexId].add(static_cast<std::uint16_t>(b), weight.mWeight);
            }
        }
    }
    return influences;
}

std::shared_ptr<scene::GeometrySource> weightSource(const std::vector<Influences>& influences) {
    std::vector<glm::vec4> weights;
    weights.reserve(influences.size());
    for (const Influences& vertex : influences) {
        weights.push_back(vertex.normalizedWeights());
    }
    return scene::GeometrySource::fromVectors<4>(scene::GeometrySemantic::boneWeights,
                                                 std::span<const glm::vec4>(weights));
}

std::shared_ptr<scene::GeometrySource> indexSource(const std::vector<Influences>& influences) {
    constexpr std::size_t vectorBytes = influencesPerVertex * sizeof(std::uint16_t);
    std::vector<std::uint8_t> bytes(influences.size() * vectorBytes);
    for (std::size_t i = 0; i < influences.size(); ++i) {
        std::memcpy(bytes.data() + i * vectorBytes, influences[i].bones.data(), vectorBytes);
    }
    scene::SourceLayout layout;
    layout.vectorCount = influences.size();
    layout.usesFloatComponents = false;
    layout.componentsPerVector = influencesPerVertex;
    layout.bytesPerComponent = sizeof(std::uint16_t);
    layout.dataStride = vectorBytes;
    return scene::GeometrySource::create(scene::makeBytes(std::move(bytes)),
                                         scene::GeometrySemantic::boneIndices, layout);
}

void noteDroppedInfluences(const aiMesh& mesh, const std::vector<Influences>& influences,
                           ImportNotes& notes) {
    const auto count = std::count_if(influences.begin(), influences.end(),
                                     [](const auto& v) { return v.offered > influencesPerVertex; });
    if (count > 0) {
        const std::string subject =
            count == 1 ? "1 vertex of mesh \"" + toString(mesh.mName) + "\" follows"
                       : std::to_string(count) + " vertices of mesh \"" + toString(mesh.mName) +
                             "\" follow";
        notes.push_back(subject + " more than four bones; only the strongest four of each are "
                                  "kept, their weights scaled to add up to one.");
    }
}

} // namespace

std::shared_ptr<scene::Skinner> convertSkin(const aiMesh& mesh,
                                            const std::shared_ptr<scene::Geometry>& geometry,
                                            const NodeFinder& findNode, ImportNotes& notes) {
    if (mesh.mNumBones == 0) {
        return nullptr;
    }
    if (mesh.mNumBones > std::numeric_limits<std::uint16_t>::max()) {
        throw ImportError("Mesh \"" + toString(mesh.mName) + "\" has more bones than supported.");
    }
    std::vector<std::shared_ptr<scene::Node>> bones;
    std::vector<scene::Matrix4> inverseBindTransforms;
    for (unsigned b = 0; b < mesh.mNumBones; ++b) {
        const aiBone& bone = *mesh.mBones[b];
        auto node = findNode(toString(bone.mName));
        if (node == nullptr) {
            throw ImportError("A bone of mesh \"" + toString(mesh.mName) + "\" names the node \"" +
                              toString(bone.mName) + "\", which does not exist.");
        }
        bones.push_back(std::move(node));
        inverseBindTransforms.push_back(toMatrix(bone.mOffsetMatrix));
    }
    const auto influences = influencesOf(mesh);
    noteDroppedInfluences(mesh, influences, notes);
    return scene::Skinner::create(geometry, bones, std::move(inverseBindTransforms),
                                  weightSource(influences), indexSource(influences));
}

} // namespace modelimporter
