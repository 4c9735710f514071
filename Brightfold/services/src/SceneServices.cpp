#include <Brightfold/SceneServices.h>
#include <Brightfold/SourceSceneLoader.h>
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
    using SystemServices::SystemServices;

    SceneHandle loadWithGLTFReader(const std::filesystem::path& file,
                                   std::stop_token stop) override {
        return GLTFSceneSource(file).sceneWithOptions(std::move(stop));
    }

    SceneHandle importModel(const std::filesystem::path& file, std::stop_token stop) override {
        return modelimporter::importModel(file, std::move(stop));
    }

    bool hasGeometry(const scene::Scene& scene) override {
        return modelimporter::hasGeometry(scene);
    }

    USDZWriteResult writeUSDZ(const scene::Scene& scene, const std::filesystem::path& destination,
                              const std::string& packageName, const ProgressHandler& progress,
                              std::stop_token stop) override {
        usd::USDZWriteResult written = usd::writeUSDZ(
            scene, destination,
            [progress](double fraction) {
                if (progress) {
                    progress(static_cast<float>(fraction));
                }
            },
            packageName, std::move(stop));
        return {written.succeeded, std::move(written.findings)};
    }

    SceneHandle readUSDZ(const std::filesystem::path& file,
                         std::vector<std::string>& warnings) override {
        if (lowerCasedExtension(file) == "usdc") {
            return usd::readUSDLayerFile(file, warnings);
        }
        return usd::readUSDZ(file, warnings);
    }

    void clearBackground(scene::Scene& scene) override { scene.background().clearContents(); }
};

} // namespace

std::unique_ptr<ConversionServices>
makeSceneServices(const std::filesystem::path& temporaryDirectory) {
    return std::make_unique<SceneServices>(temporaryDirectory);
}

} // namespace brightfold
