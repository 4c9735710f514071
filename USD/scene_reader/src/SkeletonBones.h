#pragma once

#include "ComposedPrim.h"

#include <SceneGraph/Node.h>
#include <USD/scene_reader/SceneReader.h>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace usd::reader {

// The bone nodes of a Skeleton prim, one per joint in the file's joint order.
struct SkeletonBones {
    std::shared_ptr<scene::Node> skeleton; // the node of the Skeleton prim; bones hang below it
    std::vector<std::string> joints;       // the joint tokens ("Hips", "Hips/Spine" …)
    std::vector<std::shared_ptr<scene::Node>> bones;
    std::vector<scene::Matrix4> bindTransforms; // skeleton space, one per joint

    // The first joint with that token.
    std::optional<std::size_t> jointIndex(std::string_view token) const;
};

// Makes the bones of `skeletonPrim` below `skeletonNode`: a joint's parent is the joint whose
// token is the longest proper prefix of its own, else the skeleton; its local transform is its
// rest transform, or, when those are missing, the one its bind transforms imply. Arrays of the
// wrong size are replaced (identity binds) with a warning.
SkeletonBones buildSkeletonBones(const ComposedPrim& skeletonPrim,
                                 const std::shared_ptr<scene::Node>& skeletonNode,
                                 SceneReadNotes& notes);

} // namespace usd::reader
