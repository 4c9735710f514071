// The avatar's metadata, node names and humanoid map.
#include "vrm/VRMSetUpSteps.h"

#include <algorithm>

namespace gltf::vrm {

const std::string* loadedNodeName(const NodeCache& nodes, std::int64_t index) {
    const std::shared_ptr<scene::Node>* node = nodes.loaded(index);
    if (node == nullptr || !*node || (*node)->name().empty()) {
        return nullptr;
    }
    return &(*node)->name();
}

void storeMeta(const GLTFVRM_GLTFVRMMeta& meta, scene::Scene& scene) {
    const auto text = [](const std::optional<std::string>& field) {
        return scene::Value(field.value_or(""));
    };
    scene.setValue("VRMMeta", scene::ValueDictionary{
                                  {"title", text(meta.title)},
                                  {"author", text(meta.author)},
                                  {"contactInformation", text(meta.contactInformation)},
                                  {"reference", text(meta.reference)},
                                  {"texture", scene::Value(meta.texture.value_or(0))},
                                  {"version", text(meta.version)},
                                  {"allowedUserName", text(meta.allowedUserName)},
                                  {"violentUssageName", text(meta.violentUssageName)},
                                  {"sexualUssageName", text(meta.sexualUssageName)},
                                  {"commercialUssageName", text(meta.commercialUssageName)},
                                  {"otherPermissionUrl", text(meta.otherPermissionUrl)},
                                  {"licenseName", text(meta.licenseName)},
                                  {"otherLicenseUrl", text(meta.otherLicenseUrl)},
                              });
}

void replaceDotsInNodeNames(const scene::Node& rootNode) {
    const auto dotted = rootNode.childNodesPassingTest(
        [](const scene::Node& node) { return node.name().find('.') != std::string::npos; });
    for (const std::shared_ptr<scene::Node>& node : dotted) {
        std::string name = node->name();
        std::replace(name.begin(), name.end(), '.', '_');
        node->setName(std::move(name));
    }
}

// A later entry for the same bone replaces an earlier one.
void storeHumanoidBones(const GLTFVRM_GLTFVRMHumanoid& humanoid, const NodeCache& nodes,
                        scene::Node& rootNode) {
    scene::ValueDictionary bones;
    for (const GLTFVRM_GLTFVRMHumanBone& bone : humanoid.humanBones) {
        if (const std::string* name = loadedNodeName(nodes, bone.node)) {
            bones.insert_or_assign(bone.bone, scene::Value(*name));
        }
    }
    rootNode.setValue("VRMHumanoidBones", std::move(bones));
}

} // namespace gltf::vrm
