#include "PreparedScene.h"

#include "ImagesDecodedAhead.h"
#include "MaterialDescription.h"

#include <SceneGraph/Geometry.h>
#include <SceneGraph/Image.h>
#include <SceneGraph/Material.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Node.h>
#include <SceneGraph/Scene.h>
#include <SceneGraph/Skinner.h>
#include <functional>
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

void addImages(const MaterialDescription& material,
               std::map<const scene::Image*, std::shared_ptr<scene::Image>>& into) {
    for (const auto* map : {&material.baseColorMap, &material.metalnessMap, &material.roughnessMap,
                            &material.normalMap, &material.occlusionMap, &material.emissiveMap}) {
        if (*map && (*map)->image) {
            into.emplace((*map)->image.get(), (*map)->image);
        }
    }
}

std::vector<std::shared_ptr<scene::Image>>
imagesOf(const std::vector<const scene::Node*>& meshNodes) {
    std::map<const scene::Image*, std::shared_ptr<scene::Image>> images;
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
    std::vector<std::shared_ptr<scene::Image>> list;
    for (auto& [key, image] : images) {
        list.push_back(std::move(image));
    }
    return list;
}

std::vector<const scene::Node*> meshNodesOf(const scene::Scene& scene) {
    std::vector<const scene::Node*> meshNodes;
    collectMeshNodes(*scene.rootNode(), meshNodes);
    return meshNodes;
}

// Images whose bytes were decoded ahead are not decoded again.
std::map<const scene::Image*, PreparedTexture>
prepareTextures(const std::vector<std::shared_ptr<scene::Image>>& images,
                const ImagesDecodedAhead& ahead) {
    std::map<const scene::Image*, PreparedTexture> textures;
    for (const auto& image : images) {
        std::optional<PreparedTexture> decoded = ahead.pixelsFor(*image);
        textures.emplace(image.get(), decoded ? std::move(*decoded) : prepareTexture(*image));
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

std::vector<std::shared_ptr<scene::Image>> materialImagesOf(const scene::Scene& scene) {
    return imagesOf(meshNodesOf(scene));
}

PreparedScene prepareScene(const scene::Scene& scene, const ImagesDecodedAhead& ahead) {
    const std::vector<const scene::Node*> meshNodes = meshNodesOf(scene);
    std::future<std::map<const scene::Image*, PreparedTexture>> textures =
        std::async(std::launch::async, prepareTextures, imagesOf(meshNodes), std::cref(ahead));
    PreparedScene prepared;
    for (const scene::Node* node : meshNodes) {
        prepared.meshes.emplace(node, prepareMesh(*node));
    }
    prepared.textures = textures.get();
    return prepared;
}

} // namespace brightfold::preview
