#include "SceneConversion.h"

#include <ModelImporter/ModelImporter.h>
#include <SceneGraph/Scene.h>
#include <assimp/Importer.hpp>
#include <assimp/ProgressHandler.hpp>
#include <assimp/postprocess.h>

namespace modelimporter {
namespace {

// Polygons become triangles and each mesh keeps one kind of primitive. The validation step
// refuses indices and bone weights that point past the vertices.
constexpr unsigned importSteps =
    aiProcess_Triangulate | aiProcess_SortByPType | aiProcess_ValidateDataStructure;

// Assimp asks its progress handler whether to go on while it reads and post-processes.
class StopRequestWatcher : public Assimp::ProgressHandler {
  public:
    explicit StopRequestWatcher(std::stop_token stop) : stop_(std::move(stop)) {}
    bool Update(float) override { return !stop_.stop_requested(); }

  private:
    std::stop_token stop_;
};

} // namespace

std::shared_ptr<scene::Scene> importWithAssimp(const std::filesystem::path& file,
                                               std::stop_token stop) {
    Assimp::Importer importer;
    importer.SetProgressHandler(new StopRequestWatcher(stop)); // the importer owns it
    const aiScene* source = importer.ReadFile(file.string(), importSteps);
    if (stop.stop_requested()) {
        throw ImportError("The import of \"" + file.filename().string() + "\" was stopped.");
    }
    if (source == nullptr) {
        throw ImportError("The model importer could not read \"" + file.filename().string() +
                          "\": " + importer.GetErrorString());
    }
    return SceneConversion(*source, file.parent_path(), readGltfDetails(file)).run();
}

} // namespace modelimporter
