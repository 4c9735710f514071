#include "skeleton/SkeletonPlan.h"

#include "PrimNames.h"

#include <algorithm>
#include <map>
#include <set>

namespace usd::writer {
namespace {

using NodeSet = std::set<const scene::Node*>;

std::string nodeLabel(const scene::Node& node) {
    return node.name().empty() ? "An unnamed node" : "Node \"" + node.name() + "\"";
}

// The nodes from the top of the hierarchy down to `node`, both included.
std::vector<const scene::Node*> pathFromTop(const scene::Node& node) {
    std::vector<const scene::Node*> path{&node};
    for (auto parent = node.parentNode(); parent; parent = parent->parentNode())
        path.push_back(parent.get());
    std::ranges::reverse(path);
    return path;
}

struct SkinGroup {
    std::vector<const scene::Node*> skinnedNodes;
    NodeSet bones;
    const scene::Node* anchor = nullptr;
    NodeSet joints;
};

const scene::Node* anchorOf(const NodeSet& bones, const NodeSet& allBones,
                            const scene::Node& root) {
    std::vector<const scene::Node*> common = pathFromTop(**bones.begin());
    for (const scene::Node* bone : bones) {
        const auto path = pathFromTop(*bone);
        const auto [end, unused] = std::ranges::mismatch(common, path);
        common.erase(end, common.end());
    }
    while (!common.empty() && allBones.contains(common.back()) && common.back() != &root)
        common.pop_back();
    return common.empty() ? &root : common.back();
}

void placeGroup(SkinGroup& group, const NodeSet& allBones, const scene::Node& root) {
    group.anchor = anchorOf(group.bones, allBones, root);
    group.joints.clear();
    for (const scene::Node* bone : group.bones)
        for (const scene::Node* n = bone; n && n != group.anchor; n = n->parentNode().get())
            group.joints.insert(n);
}

bool overlap(const NodeSet& a, const NodeSet& b) {
    return std::ranges::any_of(a, [&](const scene::Node* n) { return b.contains(n); });
}

// Merges groups whose joints overlap until none do.
void mergeOverlapping(std::vector<SkinGroup>& groups, const NodeSet& allBones,
                      const scene::Node& root) {
    for (bool merged = true; merged;) {
        merged = false;
        for (std::size_t a = 0; a < groups.size() && !merged; ++a)
            for (std::size_t b = a + 1; b < groups.size() && !merged; ++b)
                if (overlap(groups[a].joints, groups[b].joints)) {
                    groups[a].skinnedNodes.insert(groups[a].skinnedNodes.end(),
                                                  groups[b].skinnedNodes.begin(),
                                                  groups[b].skinnedNodes.end());
                    groups[a].bones.insert(groups[b].bones.begin(), groups[b].bones.end());
                    groups.erase(groups.begin() + static_cast<std::ptrdiff_t>(b));
                    placeGroup(groups[a], allBones, root);
                    merged = true;
                }
    }
}

NodeSet bonesInHierarchy(const scene::Skinner& skinner, const scene::Node& root) {
    NodeSet bones;
    for (const auto& bone : skinner.bones())
        if (bone && (bone.get() == &root || bone->isDescendantOf(root)))
            bones.insert(bone.get());
    return bones;
}

// The joints in depth-first order below the anchor and their tokens.
void orderJoints(const SkinGroup& group, SkeletonPlan& plan) {
    std::map<const scene::Node*, std::string> tokens{{group.anchor, ""}};
    std::map<const scene::Node*, SiblingNames> names;
    group.anchor->enumerateHierarchy([&](const scene::Node& node) {
        if (!group.joints.contains(&node))
            return;
        const scene::Node* parent = node.parentNode().get();
        const std::string name = names[parent].claim(node.name(), "joint");
        const std::string& parentToken = tokens[parent];
        tokens[&node] = parentToken.empty() ? name : parentToken + "/" + name;
        plan.joints.push_back(&node);
        plan.tokens.push_back(tokens[&node]);
    });
}

// Bind poses: a bone's from the first skin that binds it, any other joint's from the rest pose
// of the hierarchy (its parent's bind pose times its own transform).
void bindPoses(SkeletonPlan& plan) {
    std::map<const scene::Node*, scene::Matrix4> bound;
    for (const scene::Node* skinned : plan.skinnedNodes) {
        const scene::Skinner& skinner = *skinned->skinner();
        const auto bones = skinner.bones();
        for (std::size_t b = 0; b < bones.size(); ++b) {
            if (!bones[b] || bound.contains(bones[b].get()))
                continue;
            const auto& inverses = skinner.boneInverseBindTransforms();
            bound[bones[b].get()] = inverses ? glm::inverse((*inverses)[b]) : scene::Matrix4(1.0);
        }
    }
    for (std::size_t j = 0; j < plan.joints.size(); ++j) {
        const scene::Node* joint = plan.joints[j];
        const auto found = bound.find(joint);
        if (found != bound.end()) {
            plan.bindTransforms.push_back(found->second);
            continue;
        }
        const int parent = plan.jointIndex(joint->parentNode().get());
        const scene::Matrix4 above = parent < 0
                                         ? scene::Matrix4(1.0)
                                         : plan.bindTransforms[static_cast<std::size_t>(parent)];
        plan.bindTransforms.push_back(above * joint->transform());
    }
}

} // namespace

int SkeletonPlan::jointIndex(const scene::Node* node) const {
    const auto found = std::ranges::find(joints, node);
    return found == joints.end() ? -1 : static_cast<int>(found - joints.begin());
}

std::vector<int> jointsOfBones(const SkeletonPlan& skeleton, const scene::Skinner& skinner) {
    std::vector<int> joints;
    for (const auto& bone : skinner.bones())
        joints.push_back(bone ? skeleton.jointIndex(bone.get()) : -1);
    return joints;
}

std::vector<SkeletonPlan> planSkeletons(const scene::Node& root, Notes& notes) {
    std::vector<SkinGroup> groups;
    NodeSet allBones;
    root.enumerateHierarchy([&](const scene::Node& node) {
        if (!node.skinner() || !node.geometry())
            return;
        NodeSet bones = bonesInHierarchy(*node.skinner(), root);
        if (bones.empty()) {
            notes.push_back(nodeLabel(node) +
                            ": none of its skin's bones is in the scene; the mesh is written "
                            "unskinned, in its bind pose.");
            return;
        }
        allBones.insert(bones.begin(), bones.end());
        groups.push_back({{&node}, std::move(bones), nullptr, {}});
    });
    for (SkinGroup& group : groups)
        placeGroup(group, allBones, root);
    mergeOverlapping(groups, allBones, root);

    std::vector<SkeletonPlan> plans;
    for (const SkinGroup& group : groups) {
        SkeletonPlan plan;
        plan.anchor = group.anchor;
        plan.skinnedNodes = group.skinnedNodes;
        orderJoints(group, plan);
        bindPoses(plan);
        plans.push_back(std::move(plan));
    }
    return plans;
}

} // namespace usd::writer
