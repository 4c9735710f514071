#include "GltfDetails.h"
#include "SceneConversion.h"

#include <GLTFReader/DocumentLimits.h>
#include <ModelImporter/ModelImporter.h>
#include <SceneGraph/Scene.h>
#include <algorithm>
#include <assimp/Importer.hpp>
#include <assimp/ProgressHandler.hpp>
#include <assimp/postprocess.h>
#include <string>

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

// Nodes shared between parents may unfold to more than the document has, but not to millions.
constexpr std::uint64_t kMaxUnfoldedNodes = 1'000'000;

// Refuses what would overflow Assimp's stack or memory before Assimp walks it.
void checkBeforeImport(const GltfDetails& details, const std::filesystem::path& file) {
    const std::string refusal =
        "The model importer could not read \"" + file.filename().string() + "\": ";
    if (details.madeAccessorBytes > gltf::kMaxMadeAccessorBytes)
        throw ImportError(refusal + "its accessors without buffer data stand for more than " +
                          std::to_string(gltf::kMaxMadeAccessorBytes) + " bytes.");
    const NodeGraphShape& shape = details.nodeGraph;
    if (shape.hasLoop)
        throw ImportError(refusal + "its nodes form a loop.");
    if (shape.deepestLevel > static_cast<std::uint64_t>(gltf::kMaxNodeNesting))
        throw ImportError(refusal + "its nodes nest more than " +
                          std::to_string(gltf::kMaxNodeNesting) + " levels deep.");
    if (shape.unfoldedNodes > std::max(shape.nodeCount, kMaxUnfoldedNodes))
        throw ImportError(refusal +
                          "its nodes, shared between parents, would unfold into more "
                          "than " +
                          std::to_string(kMaxUnfoldedNodes) + " nodes.");
}

} // namespace

std::shared_ptr<scene::Scene> importWithAssimp(const std::filesystem::path& file,
                                               std::stop_token stop) {
    GltfDetails details = readGltfDetails(file);
    checkBeforeImport(details, file);
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
    return SceneConversion(*source, file.parent_path(), std::move(details)).run();
}

} // namespace modelimporter
