#pragma once

#include "GltfDetails.h"
#include "ImportNotes.h"
#include "MorphAnimationConversion.h"

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

// Builds a scene from what Assimp read: materials first, then geometries that use them and
// their morph targets, then the node hierarchy with meshes and cameras, and last the skins
// and animations, which refer to nodes by name. What cannot be brought over is listed under
// the scene's notes.
class SceneConversion {
  public:
    // `details` are empty when the file is no glTF document.
    SceneConversion(const aiScene& source, std::filesystem::path modelDirectory,
                    GltfDetails details);
    std::shared_ptr<scene::Scene> run();

  private:
    void convertGeometries();
    void convertCameras();
    std::shared_ptr<scene::Node> convertNode(const aiNode& source);
    std::shared_ptr<scene::Node> meshNodeOf(const aiNode& source,
                                            std::vector<WeightPath>& weightPaths);
    void bindSkins();
    void convertAnimations();
    std::shared_ptr<scene::Node> findNode(const std::string& name) const;
    std::vector<WeightPath> findWeightPaths(const std::string& name) const;

    const aiScene& source_;
    std::filesystem::path modelDirectory_;
    GltfDetails details_;
    std::vector<std::shared_ptr<scene::Geometry>> geometries_;
    // Per mesh, its morph targets (shared by every node that shows the mesh).
    std::vector<std::vector<std::shared_ptr<scene::Geometry>>> morphTargets_;
    std::map<std::string, std::shared_ptr<scene::Camera>> camerasByNodeName_;
    // Nodes by name, the first of each name; skins and animations refer to nodes this way.
    std::map<std::string, std::shared_ptr<scene::Node>> nodesByName_;
    // The morph weights below those same nodes, for the nodes that show a mesh.
    std::map<std::string, std::vector<WeightPath>> weightPathsByNodeName_;
    // Each node that shows a mesh, with the mesh's index, for binding skins.
    std::vector<std::pair<std::shared_ptr<scene::Node>, unsigned>> meshNodes_;
    ImportNotes notes_;
};

} // namespace modelimporter
