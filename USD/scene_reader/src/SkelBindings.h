#pragma once

#include "AnimationTimeline.h"
#include "ComposedPrim.h"
#include "SkeletonBones.h"
#include "Stage.h"

#include <SceneGraph/Node.h>
#include <USD/scene_reader/SceneReader.h>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace usd::reader {

// Skeletal deformation of a stage: the meshes that skeletons skin or blend shapes morph are
// gathered while the node tree is built, then bound once every node exists: each Skeleton a
// mesh reaches becomes bone nodes (posed by its animation source), each mesh gets its skinner
// and morpher, and the animation source drives the morph weights.
class SkelBindings {
  public:
    // The node that shows a prim, else that of its nearest shown ancestor, else the root.
    using NodeOfPrim = std::function<std::shared_ptr<scene::Node>(const ComposedPrim&)>;

    SkelBindings(const Stage& stage, AnimationTimeline& timeline, SceneReadNotes& notes)
        : stage_(stage), timeline_(timeline), notes_(notes) {}

    // Whether the mesh is skinned or has blend shapes, so its vertices' points are needed.
    static bool isDeformed(const ComposedPrim& mesh);

    void addMesh(const ComposedPrim& mesh, std::shared_ptr<scene::Node> node,
                 std::vector<std::uint32_t> vertexPoints);

    void bind(const NodeOfPrim& nodeOfPrim);

  private:
    struct DeformedMesh {
        const ComposedPrim* prim;
        std::shared_ptr<scene::Node> node;
        std::vector<std::uint32_t> vertexPoints;
    };

    void bindMesh(const DeformedMesh& mesh, const NodeOfPrim& nodeOfPrim);
    const SkeletonBones& skeletonBones(const ComposedPrim& skeleton, const NodeOfPrim& nodeOfPrim);
    const ComposedPrim* skeletonOf(const ComposedPrim& mesh) const;
    const ComposedPrim* animationSourceOf(const ComposedPrim* skeleton,
                                          const ComposedPrim& mesh) const;

    const Stage& stage_;
    AnimationTimeline& timeline_;
    SceneReadNotes& notes_;
    std::vector<DeformedMesh> meshes_;
    std::map<const ComposedPrim*, SkeletonBones> skeletons_;
};

} // namespace usd::reader
