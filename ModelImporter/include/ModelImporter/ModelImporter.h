#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

namespace scene {
class Scene;
} // namespace scene

namespace modelimporter {

// A file the importer cannot turn into a scene; what() says why, fit to show the user.
class ImportError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Imports a model file as a scene: ".usdc" and ".usd" (any letter case) through the USD scene
// reader (crate layers only), anything else through Assimp. Throws ImportError, also when it
// ends early because a stop was requested through `stop` (Assimp looks at it as it reads; a
// crate file is read whole).
std::shared_ptr<scene::Scene> importModel(const std::filesystem::path& file,
                                          std::stop_token stop = {});

// Imports any format Assimp reads (glTF and GLB among them, Draco-compressed meshes too):
// meshes with normals, texture coordinates and vertex colours, physically based materials
// with embedded and external textures, the node hierarchy, cameras, skins, morph targets,
// and node and morph-weight animations, laid out as the glTF reader lays them out. What it
// leaves out or approximates is among the scene's notes (SceneGraph/MaterialContract.h).
// Throws ImportError.
std::shared_ptr<scene::Scene> importWithAssimp(const std::filesystem::path& file,
                                               std::stop_token stop = {});

// Whether any node of the scene carries a geometry with at least one vertex.
bool hasGeometry(const scene::Scene& scene);

} // namespace modelimporter
