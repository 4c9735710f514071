#include "PreparedScene.h"

#include "MaterialDescription.h"

#include <SceneGraph/Geometry.h>
#include <SceneGraph/Image.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <SceneGraph/Skinner.h>
#include <future>
#include <set>
#include <stdexcept>

namespace brightfold::preview {
namespace {

void collectMeshNodes(const scene::Node& node, std::vector<const scene::Node*>& into) {
    if (node.geometry()) {
        into.push_back(&node);
    }
    for (const auto& child : node.childNodes()) {
        collectMeshNodes(*child, into);
    }
}

void addImages(const MaterialDescription& material, std::set<const scene::Image*>& into) {
    for (const auto* map : {&material.baseColorMap, &material.metalnessMap, &material.roughnessMap,
                            &material.normalMap, &material.occlusionMap, &material.emissiveMap}) {
        if (*map && (*map)->image) {
            into.insert((*map)->image.get());
        }
    }
}

std::set<const scene::Image*> imagesOf(const std::vector<const scene::Node*>& meshNodes) {
    std::set<const scene::Image*> images;
    std::set<const scene::Material*> seen;
    for (const scene::Node* node : meshNodes) {
        const scene::Geometry& geometry = *node->geometry();
        for (std::size_t element = 0; element < geometry.elements().size(); ++element) {
            const std::shared_ptr<scene::Material> material = geometry.materialForElement(element);
            if (material && seen.insert(material.get()).second) {
                addImages(describeMaterial(*material), images);
            }
        }
    }
    return images;
}

std::map<const scene::Image*, PreparedTexture>
prepareTextures(const std::set<const scene::Image*>& images) {
    std::map<const scene::Image*, PreparedTexture> textures;
    for (const scene::Image* image : images) {
        textures.emplace(image, prepareTexture(*image));
    }
    return textures;
}

bool hasMorphTargets(const scene::Node& node) {
    return node.morpher() && !node.morpher()->targets().empty();
}

} // namespace

PreparedMesh prepareMesh(const scene::Node& node) {
    PreparedMesh mesh;
    const scene::Geometry& geometry = *node.geometry();
    mesh.streams = readVertexStreams(geometry, node.skinner().get(), mesh.problems);
    if (mesh.streams.vertexCount() == 0) {
        return mesh;
    }
    mesh.parts = packIndices(geometry, mesh.streams.vertexCount(), mesh.problems);
    mesh.vertices = packVertices(mesh.streams);
    if (!hasMorphTargets(node)) {
        mesh.streams = {};
    }
    return mesh;
}

PreparedTexture prepareTexture(const scene::Image& image) {
    PreparedTexture texture;
    try {
        texture.pixels = decodeTexture(image);
        texture.decoded = true;
    } catch (const std::runtime_error& error) {
        texture.error = QString::fromUtf8(error.what());
    }
    return texture;
}

PreparedScene prepareScene(const scene::Scene& scene) {
    std::vector<const scene::Node*> meshNodes;
    collectMeshNodes(*scene.rootNode(), meshNodes);
    std::future<std::map<const scene::Image*, PreparedTexture>> textures =
        std::async(std::launch::async, prepareTextures, imagesOf(meshNodes));
    PreparedScene prepared;
    for (const scene::Node* node : meshNodes) {
        prepared.meshes.emplace(node, prepareMesh(*node));
    }
    prepared.textures = textures.get();
    return prepared;
}

} // namespace brightfold::preview
