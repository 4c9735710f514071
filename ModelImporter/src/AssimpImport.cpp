#include "SceneConversion.h"

#include <ModelImporter/ModelImporter.h>
#include <SceneGraph/Scene.h>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>

namespace modelimporter {
namespace {

// Polygons become triangles and each mesh keeps one kind of primitive. The validation step
// refuses indices and bone weights that point past the vertices.
constexpr unsigned importSteps =
    aiProcess_Triangulate | aiProcess_SortByPType | aiProcess_ValidateDataStructure;

} // namespace

std::shared_ptr<scene::Scene> importWithAssimp(const std::filesystem::path& file) {
    Assimp::Importer importer;
    const aiScene* source = importer.ReadFile(file.string(), importSteps);
    if (source == nullptr) {
        throw ImportError("The model importer could not read \"" + file.filename().string() +
                          "\": " + importer.GetErrorString());
    }
    return SceneConversion(*source, file.parent_path(), readGltfDetails(file)).run();
}

} // namespace modelimporter
