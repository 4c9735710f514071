#include <SceneGraph/Node.h>
#include <SceneGraph/Skinner.h>
#include <stdexcept>
#include <string>

namespace scene {

std::shared_ptr<Skinner> Skinner::create(
    std::shared_ptr<Geometry> baseGeometry, const std::vector<std::shared_ptr<Node>>& bones,
    std::optional<std::vector<Matrix4>> boneInverseBindTransforms,
    std::shared_ptr<GeometrySource> boneWeights, std::shared_ptr<GeometrySource> boneIndices) {
    if (!boneWeights || !boneIndices) {
        throw std::invalid_argument("skinner: needs both a bone-weight and a bone-index source");
    }
    if (boneInverseBindTransforms && boneInverseBindTransforms->size() < bones.size()) {
        throw std::invalid_argument(
            "skinner: " + std::to_string(bones.size()) + " bones but only " +
            std::to_string(boneInverseBindTransforms->size()) + " inverse bind transforms");
    }
    auto skinner = std::shared_ptr<Skinner>(new Skinner());
    skinner->baseGeometry_ = std::move(baseGeometry);
    skinner->bones_.assign(bones.begin(), bones.end());
    skinner->inverseBindTransforms_ = std::move(boneInverseBindTransforms);
    skinner->boneWeights_ = std::move(boneWeights);
    skinner->boneIndices_ = std::move(boneIndices);
    return skinner;
}

std::vector<std::shared_ptr<Node>> Skinner::bones() const {
    std::vector<std::shared_ptr<Node>> nodes;
    nodes.reserve(bones_.size());
    for (const auto& bone : bones_) {
        nodes.push_back(bone.lock());
    }
    return nodes;
}

} // namespace scene
