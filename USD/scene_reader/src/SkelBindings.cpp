#include "SkelBindings.h"

#include "BlendShapes.h"
#include "SkelAnimation.h"
#include "SkinBinding.h"
#include "XformAnimation.h"
#include "XformStack.h"

namespace usd::reader {
namespace {

// The first prim of that type a relationship, authored on the prim or inherited from an
// ancestor, targets.
const ComposedPrim* inheritedTarget(const Stage& stage, const ComposedPrim* prim,
                                    std::string_view relationship, std::string_view type) {
    for (; prim != nullptr; prim = prim->parent()) {
        for (const Path& path : prim->targets(relationship)) {
            const ComposedPrim* target = stage.prim(path);
            if (target != nullptr && target->typeName() == type) {
                return target;
            }
        }
    }
    return nullptr;
}

} // namespace

bool SkelBindings::isDeformed(const ComposedPrim& mesh) {
    return mesh.hasProperty("primvars:skel:jointIndices") || mesh.hasProperty("skel:blendShapes");
}

void SkelBindings::addMesh(const ComposedPrim& mesh, std::shared_ptr<scene::Node> node,
                           std::vector<std::uint32_t> vertexPoints) {
    meshes_.push_back({&mesh, std::move(node), std::move(vertexPoints)});
}

void SkelBindings::bind(const NodeOfPrim& nodeOfPrim) {
    for (const DeformedMesh& mesh : meshes_) {
        bindMesh(mesh, nodeOfPrim);
    }
}

void SkelBindings::bindMesh(const DeformedMesh& mesh, const NodeOfPrim& nodeOfPrim) {
    const BoundMesh bound{*mesh.prim, *mesh.node, mesh.vertexPoints};
    const ComposedPrim* skeletonPrim = skeletonOf(*mesh.prim);
    if (skeletonPrim != nullptr && mesh.prim->hasProperty("primvars:skel:jointIndices")) {
        bindSkin(bound, skeletonBones(*skeletonPrim, nodeOfPrim), notes_);
        // Only the skeleton places skinned points: the mesh's own motion means nothing.
        if (mesh.node->skinner()) {
            timeline_.forget(*mesh.node);
        }
    }
    const std::vector<std::string> shapes = addBlendShapes(stage_, bound, notes_);
    const ComposedPrim* animation = animationSourceOf(skeletonPrim, *mesh.prim);
    if (!shapes.empty() && animation != nullptr) {
        driveBlendShapeWeights(*animation, shapes, mesh.node, timeline_, notes_);
    }
}

// Made once, when a mesh first reaches the skeleton, below the node of its nearest shown
// ancestor.
const SkeletonBones& SkelBindings::skeletonBones(const ComposedPrim& skeleton,
                                                 const NodeOfPrim& nodeOfPrim) {
    if (const auto found = skeletons_.find(&skeleton); found != skeletons_.end()) {
        return found->second;
    }
    const std::shared_ptr<scene::Node> parent = nodeOfPrim(skeleton);
    auto node = scene::Node::create(std::string(skeleton.name()));
    node->setTransform(evaluateXformStack(skeleton, notes_).matrix);
    parent->addChildNode(node);
    addXformAnimation(skeleton, node, timeline_, notes_);
    SkeletonBones& bones =
        skeletons_.emplace(&skeleton, buildSkeletonBones(skeleton, node, notes_)).first->second;
    if (const ComposedPrim* animation = animationSourceOf(&skeleton, skeleton)) {
        poseSkeleton(*animation, bones, timeline_, notes_);
    }
    return bones;
}

// skel:skeleton applies to the prim that binds it and everything below.
const ComposedPrim* SkelBindings::skeletonOf(const ComposedPrim& mesh) const {
    return inheritedTarget(stage_, &mesh, "skel:skeleton", "Skeleton");
}

// Authored on the skeleton or above it, or above the mesh that binds it.
const ComposedPrim* SkelBindings::animationSourceOf(const ComposedPrim* skeleton,
                                                    const ComposedPrim& mesh) const {
    const ComposedPrim* animation =
        inheritedTarget(stage_, skeleton, "skel:animationSource", "SkelAnimation");
    return animation ? animation
                     : inheritedTarget(stage_, &mesh, "skel:animationSource", "SkelAnimation");
}

} // namespace usd::reader
