#pragma once

// Which skeletons a scene's skinned meshes become.

#include "Notes.h"

#include <SceneGraph/Node.h>
#include <SceneGraph/Skinner.h>
#include <string>
#include <vector>

namespace usd::writer {

// One skeleton: the joints of one connected hierarchy of bones and the meshes skinned to them.
struct SkeletonPlan {
    // The deepest node above every bone that is not itself a bone (the scene root when there is
    // none): the skeleton is placed below it and its joints are relative to it.
    const scene::Node* anchor = nullptr;
    // Every node strictly below the anchor on the way to a bone (bones and the nodes between
    // them, so no parent link is lost), parents before children.
    std::vector<const scene::Node*> joints;
    // Their paths of prim-valid names relative to the anchor ("Hips", "Hips/Spine").
    std::vector<std::string> tokens;
    // Per joint, its bind pose in the skeleton's space: the inverse of the bone's inverse bind
    // matrix, or for a joint no skin binds, its place in the rest pose.
    std::vector<scene::Matrix4> bindTransforms;
    // The nodes whose geometry is skinned to these joints.
    std::vector<const scene::Node*> skinnedNodes;

    // The joint's index, or -1 for a node that is no joint.
    int jointIndex(const scene::Node* node) const;
};

// One skeleton per connected hierarchy: skins whose joints overlap share one. A skinner none
// of whose bones is in the hierarchy is left unskinned and reported.
std::vector<SkeletonPlan> planSkeletons(const scene::Node& root, Notes& notes);

// Each of the skinner's bones as a joint index of the skeleton (-1 for a bone that is gone).
std::vector<int> jointsOfBones(const SkeletonPlan& skeleton, const scene::Skinner& skinner);

} // namespace usd::writer
