// The table through which a host sets an avatar's expressions: each group names the morph
// weights it moves, by key paths from the root node, and how far.
#include "vrm/VRMSetUpSteps.h"

#include <SceneGraph/MaterialContract.h>
#include <string_view>

namespace gltf::vrm {
namespace {

std::size_t countNamed(const scene::Node& rootNode, std::string_view name) {
    std::size_t count = 0;
    rootNode.enumerateHierarchy(
        [&](const scene::Node& node) { count += node.name() == name ? 1 : 0; });
    return count;
}

// Key paths find a node by its name, so a mesh node must be the only one bearing it: the first
// free "<name>-<n>" when another node shares the name (unnamed meshes count as "node").
void nameUniquely(scene::Node& meshNode, const scene::Node& rootNode) {
    const std::string base = meshNode.name().empty() ? "node" : meshNode.name();
    const std::size_t bearers = meshNode.name() == base ? 1 : 0;
    std::string name = base;
    if (countNamed(rootNode, base) > bearers) {
        for (std::size_t suffix = 1; countNamed(rootNode, name) > 0; ++suffix) {
            name = base + "-" + std::to_string(suffix);
        }
    }
    meshNode.setName(name);
}

// An empty or "unknown" preset means a custom expression, known by its own name.
const std::string& groupKeyOf(const GLTFVRM_GLTFVRMBlendShapeGroup& group) {
    return group.presetName.empty() || group.presetName == "unknown" ? group.name
                                                                     : group.presetName;
}

void addBind(const GLTFVRM_GLTFVRMBind& bind, scene::Node& meshNode,
             scene::ValueDictionary& weights) {
    const double weight = bind.weight / 100.0f;
    const std::size_t primitiveCount = meshNode.childNodes().size();
    for (std::size_t primitive = 0; primitive < primitiveCount; ++primitive) {
        weights.insert_or_assign("/" + meshNode.name() + ".childNodes[" +
                                     std::to_string(primitive) + "].morpher.weights[" +
                                     std::to_string(bind.index) + "]",
                                 weight);
    }
}

scene::ValueDictionary weightsOf(const GLTFVRM_GLTFVRMBlendShapeGroup& group,
                                 const NodeCache& meshes, const scene::Node& rootNode) {
    scene::ValueDictionary weights;
    for (const GLTFVRM_GLTFVRMBind& bind : group.binds) {
        const std::shared_ptr<scene::Node>* meshNode = meshes.loaded(bind.mesh);
        if (meshNode == nullptr || !*meshNode) {
            continue;
        }
        nameUniquely(**meshNode, rootNode);
        addBind(bind, **meshNode, weights);
    }
    return weights;
}

} // namespace

// A later group with the same key replaces an earlier one.
void storeBlendShapes(const GLTFVRM_GLTFVRMBlendShapeMaster& master, const NodeCache& meshes,
                      scene::Node& rootNode) {
    scene::ValueDictionary groups;
    for (const GLTFVRM_GLTFVRMBlendShapeGroup& group : master.blendShapeGroups) {
        groups.insert_or_assign(groupKeyOf(group), weightsOf(group, meshes, rootNode));
    }
    rootNode.setValue(std::string(scene::node_keys::avatarBlendShapes), std::move(groups));
}

} // namespace gltf::vrm
