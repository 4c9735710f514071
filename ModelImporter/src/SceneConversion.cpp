#include "SceneConversion.h"

#include "AnimationConversion.h"
#include "AssimpValues.h"
#include "CameraConversion.h"
#include "MaterialConversion.h"
#include "MeshConversion.h"
#include "SkinConversion.h"
#include "TextureSource.h"

#include <SceneGraph/Camera.h>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>

namespace modelimporter {

SceneConversion::SceneConversion(const aiScene& source, std::filesystem::path modelDirectory,
                                 std::vector<PrimitiveEncodings> encodings)
    : source_(source), modelDirectory_(std::move(modelDirectory)),
      encodings_(std::move(encodings)) {
    // Assimp makes one mesh per glTF primitive, in document order; if the counts disagree
    // the pairing is unknown, and every attribute is taken as Assimp converted it.
    if (encodings_.size() != source_.mNumMeshes) {
        encodings_.assign(source_.mNumMeshes, PrimitiveEncodings{});
    }
}

std::shared_ptr<scene::Scene> SceneConversion::run() {
    convertGeometries();
    convertCameras();
    auto result = scene::Scene::create();
    if (source_.mRootNode != nullptr) {
        result->rootNode()->addChildNode(convertNode(*source_.mRootNode));
    }
    bindSkins();
    convertAnimations(source_, [this](const std::string& name) { return findNode(name); });
    return result;
}

void SceneConversion::convertGeometries() {
    TextureSource textures(source_, modelDirectory_);
    std::vector<std::shared_ptr<scene::Material>> materials;
    for (unsigned m = 0; m < source_.mNumMaterials; ++m) {
        materials.push_back(convertMaterial(*source_.mMaterials[m], textures));
    }
    for (unsigned m = 0; m < source_.mNumMeshes; ++m) {
        const aiMesh& mesh = *source_.mMeshes[m];
        auto geometry = convertMesh(mesh, encodings_[m]);
        if (mesh.mMaterialIndex < materials.size()) {
            geometry->setMaterials({materials[mesh.mMaterialIndex]});
        }
        geometries_.push_back(std::move(geometry));
    }
}

void SceneConversion::convertCameras() {
    for (unsigned c = 0; c < source_.mNumCameras; ++c) {
        auto camera = convertCamera(*source_.mCameras[c]);
        camerasByNodeName_.emplace(camera->name, camera);
    }
}

// Each mesh of a node hangs below it as a child of its own, one per primitive, so a node's
// transform, camera and children stay its own.
std::shared_ptr<scene::Node> SceneConversion::convertNode(const aiNode& source) {
    const std::string name = toString(source.mName);
    auto node = scene::Node::create(name);
    nodesByName_.emplace(name, node);
    node->setTransform(toMatrix(source.mTransformation));
    if (const auto camera = camerasByNodeName_.find(name); camera != camerasByNodeName_.end()) {
        node->setCamera(camera->second);
    }
    for (unsigned i = 0; i < source.mNumMeshes; ++i) {
        const unsigned meshIndex = source.mMeshes[i];
        if (meshIndex >= geometries_.size()) {
            continue;
        }
        auto meshNode = scene::Node::create(geometries_[meshIndex]->name());
        meshNode->setGeometry(geometries_[meshIndex]);
        node->addChildNode(meshNode);
        meshNodes_.emplace_back(std::move(meshNode), meshIndex);
    }
    for (unsigned c = 0; c < source.mNumChildren; ++c) {
        node->addChildNode(convertNode(*source.mChildren[c]));
    }
    return node;
}

void SceneConversion::bindSkins() const {
    const NodeFinder finder = [this](const std::string& name) { return findNode(name); };
    for (const auto& [node, meshIndex] : meshNodes_) {
        node->setSkinner(convertSkin(*source_.mMeshes[meshIndex], node->geometry(), finder));
    }
}

std::shared_ptr<scene::Node> SceneConversion::findNode(const std::string& name) const {
    const auto found = nodesByName_.find(name);
    return found == nodesByName_.end() ? nullptr : found->second;
}

} // namespace modelimporter
