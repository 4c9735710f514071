#pragma once

#include "VertexEncodings.h"

#include <assimp/scene.h>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace scene {
struct Camera;
class Geometry;
class Node;
class Scene;
} // namespace scene

namespace modelimporter {

// Builds a scene from what Assimp read: materials first, then geometries that use them, then
// the node hierarchy with meshes and cameras, and last the skins and animations, which refer
// to nodes by name.
class SceneConversion {
  public:
    // `encodings` holds one entry per glTF primitive, matching Assimp's meshes one to one,
    // or is empty when the file is no glTF document.
    SceneConversion(const aiScene& source, std::filesystem::path modelDirectory,
                    std::vector<PrimitiveEncodings> encodings);
    std::shared_ptr<scene::Scene> run();

  private:
    void convertGeometries();
    void convertCameras();
    std::shared_ptr<scene::Node> convertNode(const aiNode& source);
    void bindSkins() const;
    std::shared_ptr<scene::Node> findNode(const std::string& name) const;

    const aiScene& source_;
    std::filesystem::path modelDirectory_;
    std::vector<PrimitiveEncodings> encodings_;
    std::vector<std::shared_ptr<scene::Geometry>> geometries_;
    std::map<std::string, std::shared_ptr<scene::Camera>> camerasByNodeName_;
    // Nodes by name, the first of each name; skins and animations refer to nodes this way.
    std::map<std::string, std::shared_ptr<scene::Node>> nodesByName_;
    // Each node that shows a mesh, with the mesh's index, for binding skins.
    std::vector<std::pair<std::shared_ptr<scene::Node>, unsigned>> meshNodes_;
};

} // namespace modelimporter
