#include "SceneConversion.h"

#include "AnimationConversion.h"
#include "AssimpValues.h"
#include "CameraConversion.h"
#include "MaterialConversion.h"
#include "MeshConversion.h"
#include "MorphConversion.h"
#include "SkinConversion.h"
#include "TextureSource.h"

#include <SceneGraph/Camera.h>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/MaterialContract.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <SceneGraph/Skinner.h>
#include <algorithm>

namespace modelimporter {
namespace {

scene::ValueArray keyPathsOf(const std::vector<WeightPath>& weightPaths) {
    scene::ValueArray keyPaths;
    for (const WeightPath& path : weightPaths) {
        keyPaths.emplace_back(path.keyPath);
    }
    return keyPaths;
}

} // namespace

SceneConversion::SceneConversion(const aiScene& source, std::filesystem::path modelDirectory,
                                 GltfDetails details)
    : source_(source), modelDirectory_(std::move(modelDirectory)), details_(std::move(details)) {
    // Assimp makes one mesh per glTF primitive, in document order; if the counts disagree
    // the pairing is unknown, and every attribute is taken as Assimp converted it.
    if (details_.encodings.size() != source_.mNumMeshes) {
        details_.encodings.assign(source_.mNumMeshes, PrimitiveEncodings{});
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
    convertAnimations();
    scene::addNotes(*result, notes_);
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
        auto geometry = convertMesh(mesh, details_.encodings[m]);
        if (mesh.mMaterialIndex < materials.size()) {
            geometry->setMaterials({materials[mesh.mMaterialIndex]});
        }
        geometries_.push_back(std::move(geometry));
        morphTargets_.push_back(convertMorphTargets(mesh, notes_));
    }
}

void SceneConversion::convertCameras() {
    for (unsigned c = 0; c < source_.mNumCameras; ++c) {
        auto camera = convertCamera(*source_.mCameras[c]);
        camerasByNodeName_.emplace(camera->name, camera);
    }
}

std::shared_ptr<scene::Node> SceneConversion::convertNode(const aiNode& source) {
    const std::string name = toString(source.mName);
    auto node = scene::Node::create(name);
    const bool firstOfItsName = nodesByName_.emplace(name, node).second;
    node->setTransform(toMatrix(source.mTransformation));
    if (const auto camera = camerasByNodeName_.find(name); camera != camerasByNodeName_.end()) {
        node->setCamera(camera->second);
    }
    std::vector<WeightPath> weightPaths;
    if (auto meshNode = meshNodeOf(source, weightPaths)) {
        node->addChildNode(meshNode);
        scene::setWeightPaths(*node, keyPathsOf(weightPaths));
        if (firstOfItsName) {
            weightPathsByNodeName_.emplace(name, std::move(weightPaths));
        }
    }
    for (unsigned c = 0; c < source.mNumChildren; ++c) {
        node->addChildNode(convertNode(*source.mChildren[c]));
    }
    return node;
}

// A node's meshes (Assimp makes one per glTF primitive) hang below a first child of their own,
// one node per mesh, laid out as the glTF reader lays out a mesh: the node's transform, camera
// and children stay its own, and its morph weights have the same key paths.
std::shared_ptr<scene::Node> SceneConversion::meshNodeOf(const aiNode& source,
                                                         std::vector<WeightPath>& weightPaths) {
    std::shared_ptr<scene::Node> meshNode;
    for (unsigned i = 0; i < source.mNumMeshes; ++i) {
        const unsigned meshIndex = source.mMeshes[i];
        if (meshIndex >= geometries_.size()) {
            continue;
        }
        if (!meshNode) {
            meshNode = scene::Node::create(geometries_[meshIndex]->name());
        }
        const std::string primitivePath =
            "childNodes[0].childNodes[" + std::to_string(meshNode->childNodes().size()) + "]";
        auto primitive = scene::Node::create(geometries_[meshIndex]->name());
        primitive->setGeometry(geometries_[meshIndex]);
        primitive->setMorpher(morpherFor(*source_.mMeshes[meshIndex], morphTargets_[meshIndex]));
        for (std::size_t t = 0; t < morphTargets_[meshIndex].size(); ++t) {
            weightPaths.push_back(
                {primitivePath + ".morpher.weights[" + std::to_string(t) + "]", t});
        }
        meshNode->addChildNode(primitive);
        meshNodes_.emplace_back(std::move(primitive), meshIndex);
    }
    return meshNode;
}

// Like the glTF reader, each skinner names the node it skins as its skeleton.
void SceneConversion::bindSkins() {
    const NodeFinder finder = [this](const std::string& name) { return findNode(name); };
    for (const auto& [node, meshIndex] : meshNodes_) {
        auto skinner = convertSkin(*source_.mMeshes[meshIndex], node->geometry(), finder, notes_);
        if (skinner) {
            skinner->setSkeleton(node);
        }
        node->setSkinner(std::move(skinner));
    }
}

void SceneConversion::convertAnimations() {
    const NodeFinder finder = [this](const std::string& name) { return findNode(name); };
    convertNodeAnimations(source_, finder, details_.steppedChannels, notes_);
    convertMorphAnimations(
        source_, finder, [this](const std::string& name) { return findWeightPaths(name); },
        details_.steppedChannels, notes_);
}

std::shared_ptr<scene::Node> SceneConversion::findNode(const std::string& name) const {
    const auto found = nodesByName_.find(name);
    return found == nodesByName_.end() ? nullptr : found->second;
}

std::vector<WeightPath> SceneConversion::findWeightPaths(const std::string& name) const {
    const auto found = weightPathsByNodeName_.find(name);
    return found == weightPathsByNodeName_.end() ? std::vector<WeightPath>{} : found->second;
}

} // namespace modelimporter
