#include <Brightfold/SceneServices.h>
#include <Brightfold/SystemServices.h>
#include <GLTFReader/GLTFSceneSource.h>
#include <ModelImporter/ModelImporter.h>
#include <SceneGraph/Scene.h>
#include <USD/USDZReader.h>
#include <USD/USDZWriter.h>

namespace brightfold {
namespace {

class SceneServices final : public SystemServices {
  public:
    SceneHandle loadWithGLTFReader(const std::filesystem::path& file) override {
        return GLTFSceneSource(file).sceneWithOptions();
    }

    SceneHandle importModel(const std::filesystem::path& file) override {
        return modelimporter::importModel(file);
    }

    bool hasGeometry(const scene::Scene& scene) override {
        return modelimporter::hasGeometry(scene);
    }

    USDZWriteResult writeUSDZ(const scene::Scene& scene, const std::filesystem::path& destination,
                              const ProgressHandler& progress) override {
        usd::USDZWriteResult written =
            usd::writeUSDZ(scene, destination, [progress](double fraction) {
                if (progress) {
                    progress(static_cast<float>(fraction));
                }
            });
        return {written.succeeded, std::move(written.findings)};
    }

    SceneHandle readUSDZ(const std::filesystem::path& file) override { return usd::readUSDZ(file); }

    void clearBackground(scene::Scene& scene) override { scene.background().clearContents(); }
};

} // namespace

std::unique_ptr<ConversionServices> makeSceneServices() {
    return std::make_unique<SceneServices>();
}

} // namespace brightfold
