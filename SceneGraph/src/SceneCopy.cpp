#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <SceneGraph/Skinner.h>
#include <map>
#include <vector>

namespace scene {
namespace {

using NodeMap = std::map<const Node*, std::shared_ptr<Node>>;

// A clone has the original's shape, so both hierarchies list their nodes in the same order.
NodeMap correspondingNodes(const Node& original, Node& copy) {
    std::vector<const Node*> originals;
    original.enumerateHierarchy([&](const Node& node) { originals.push_back(&node); });
    NodeMap map;
    std::size_t next = 0;
    copy.enumerateHierarchy([&](Node& node) { map[originals[next++]] = node.shared_from_this(); });
    return map;
}

// Bones outside the scene's hierarchy stay the original nodes.
std::shared_ptr<Node> counterpart(const std::shared_ptr<Node>& node, const NodeMap& nodes) {
    const auto found = node ? nodes.find(node.get()) : nodes.end();
    return found == nodes.end() ? node : found->second;
}

std::shared_ptr<Skinner> rebound(const Skinner& skinner, const NodeMap& nodes) {
    std::vector<std::shared_ptr<Node>> bones;
    for (const auto& bone : skinner.bones()) {
        bones.push_back(counterpart(bone, nodes));
    }
    auto copy = Skinner::create(skinner.baseGeometry(), bones, skinner.boneInverseBindTransforms(),
                                skinner.boneWeights(), skinner.boneIndices());
    copy->setSkeleton(counterpart(skinner.skeleton(), nodes));
    return copy;
}

// Skinners shared by several nodes stay shared among their copies.
void rebindSkinners(const NodeMap& nodes) {
    std::map<const Skinner*, std::shared_ptr<Skinner>> remade;
    for (const auto& [original, copy] : nodes) {
        if (const Skinner* skinner = original->skinner().get()) {
            auto [found, added] = remade.try_emplace(skinner);
            if (added) {
                found->second = rebound(*skinner, nodes);
            }
            copy->setSkinner(found->second);
        }
    }
}

} // namespace

std::shared_ptr<Scene> Scene::copy() const {
    auto copy = std::shared_ptr<Scene>(new Scene());
    copy->rootNode_ = rootNode_->clone();
    copy->background_ = background_;
    copy->values_ = values_;
    rebindSkinners(correspondingNodes(*rootNode_, *copy->rootNode_));
    return copy;
}

} // namespace scene
