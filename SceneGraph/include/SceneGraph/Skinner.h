#pragma once

#include <SceneGraph/Transform.h>
#include <memory>
#include <optional>
#include <vector>

namespace scene {

class Geometry;
class GeometrySource;
class Node;

/// Binds a geometry to bone nodes. Bones and the skeleton are weak references: the nodes
/// belong to the hierarchy, not to the skinner.
class Skinner {
  public:
    /// Without inverse bind transforms every bone binds at identity. Fails with
    /// std::invalid_argument when fewer inverse bind transforms than bones are given, or a
    /// weight or index source is missing.
    static std::shared_ptr<Skinner>
    create(std::shared_ptr<Geometry> baseGeometry, const std::vector<std::shared_ptr<Node>>& bones,
           std::optional<std::vector<Matrix4>> boneInverseBindTransforms,
           std::shared_ptr<GeometrySource> boneWeights,
           std::shared_ptr<GeometrySource> boneIndices);

    const std::shared_ptr<Geometry>& baseGeometry() const { return baseGeometry_; }

    /// The bones in bone-index order; a bone whose node no longer exists is null.
    std::vector<std::shared_ptr<Node>> bones() const;
    std::size_t boneCount() const { return bones_.size(); }

    /// Null when the skinner was made without them.
    const std::optional<std::vector<Matrix4>>& boneInverseBindTransforms() const {
        return inverseBindTransforms_;
    }
    const std::shared_ptr<GeometrySource>& boneWeights() const { return boneWeights_; }
    const std::shared_ptr<GeometrySource>& boneIndices() const { return boneIndices_; }

    std::shared_ptr<Node> skeleton() const { return skeleton_.lock(); }
    void setSkeleton(const std::shared_ptr<Node>& skeleton) { skeleton_ = skeleton; }

  private:
    Skinner() = default;

    std::shared_ptr<Geometry> baseGeometry_;
    std::vector<std::weak_ptr<Node>> bones_;
    std::optional<std::vector<Matrix4>> inverseBindTransforms_;
    std::shared_ptr<GeometrySource> boneWeights_;
    std::shared_ptr<GeometrySource> boneIndices_;
    std::weak_ptr<Node> skeleton_;
};

} // namespace scene
