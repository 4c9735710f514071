#include "vrm/VRMSetUpSteps.h"

#include <GLTFReader/GLTFUnarchiver.h>

void GLTFVRM_GLTFVRMExtension::onLoaded(const GLTFLoadedObject& object,
                                        GLTFUnarchiver& unarchiver) const {
    const auto* loadedScene = std::any_cast<std::shared_ptr<scene::Scene>>(&object);
    if (!data || loadedScene == nullptr || !*loadedScene) {
        return;
    }
    scene::Scene& avatar = **loadedScene;
    scene::Node& rootNode = *avatar.rootNode();
    const gltf::UnarchiverCaches& caches = unarchiver.caches();
    gltf::vrm::storeMeta(data->meta, avatar);
    gltf::vrm::replaceDotsInNodeNames(rootNode);
    gltf::vrm::storeHumanoidBones(data->humanoid, caches.nodes, rootNode);
    gltf::vrm::applyMaterialProperties(data->materialProperties, rootNode);
    gltf::vrm::storeBlendShapes(data->blendShapeMaster, caches.meshes, rootNode);
    gltf::vrm::setUpSpringBones(data->secondaryAnimation, caches.nodes, avatar);
}
