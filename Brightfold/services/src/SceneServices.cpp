#include <Brightfold/SceneServices.h>
#include <Brightfold/SourceSceneLoader.h>
#include <Brightfold/SystemServices.h>
#include <GLTFReader/GLTFSceneSource.h>
#include <ModelImporter/ModelImporter.h>
#include <SceneGraph/MaterialContract.h>
#include <SceneGraph/Scene.h>
#include <USD/ar_check/PackageCheck.h>
#include <USD/scene_reader/SceneReader.h>
#include <USD/scene_writer/SceneWriter.h>

namespace brightfold {
namespace {

usd::WriteOptions writeOptionsFor(const ConversionOptions& options) {
    usd::WriteOptions written;
    written.profile = options.profile == ConversionOptions::Profile::usd ? usd::WriteProfile::usd
                                                                         : usd::WriteProfile::ar;
    written.maxTextureSize = options.maxTextureSize;
    written.textureBudgetBytes = options.textureBudgetBytes;
    written.maxTriangles = options.maxTriangles;
    written.animation = options.animation;
    return written;
}

std::vector<PackageProblem> problemsOf(const usd::ar::RuleProblems& problems) {
    std::vector<PackageProblem> copied;
    for (const usd::ar::RuleProblem& problem : problems) {
        copied.push_back({problem.rule, problem.where, problem.message});
    }
    return copied;
}

AnimationClips clipsOf(const usd::WrittenClips& written) {
    AnimationClips clips{{}, written.played};
    for (const scene::AnimationClip& clip : written.all) {
        clips.all.push_back({clip.index, clip.name});
    }
    return clips;
}

class SceneServices final : public SystemServices {
  public:
    using SystemServices::SystemServices;

    SceneHandle loadWithGLTFReader(const std::filesystem::path& file,
                                   std::stop_token stop) override {
        const GLTFSceneSource source(file);
        SceneHandle scene = source.sceneWithOptions(std::move(stop));
        scene::addNotes(*scene, source.requireLoader().notes());
        return scene;
    }

    SceneHandle importModel(const std::filesystem::path& file, std::stop_token stop) override {
        return modelimporter::importModel(file, std::move(stop));
    }

    bool hasGeometry(const scene::Scene& scene) override {
        return modelimporter::hasGeometry(scene);
    }

    std::vector<std::string> loadNotes(const scene::Scene& scene) override {
        return scene::notes(scene);
    }

    USDZWriteResult writeUSDZ(const scene::Scene& scene, const std::filesystem::path& destination,
                              const std::string& packageName, const ConversionOptions& options,
                              const ProgressHandler& progress, std::stop_token stop) override {
        usd::USDZWriteResult written = usd::writeUSDZ(
            scene, destination,
            [progress](double fraction) {
                if (progress) {
                    progress(static_cast<float>(fraction));
                }
            },
            packageName, std::move(stop), writeOptionsFor(options));
        return {written.succeeded, std::move(written.notes), clipsOf(written.clips)};
    }

    SceneHandle readUSDZ(const std::filesystem::path& file,
                         std::vector<std::string>& warnings) override {
        if (lowerCasedExtension(file) == "usdc") {
            return usd::readUSDLayerFile(file, warnings);
        }
        return usd::readUSDZ(file, warnings);
    }

    PackageVerdict checkPackage(const std::filesystem::path& file,
                                const ConversionOptions& options) override {
        usd::ar::ARBudgets budgets;
        budgets.textureBytes = options.textureBudgetBytes;
        const usd::ar::PackageVerdict checked = usd::ar::checkPackageFile(file, budgets);
        return {problemsOf(checked.broken), problemsOf(checked.overBudget)};
    }

    void clearBackground(scene::Scene& scene) override { scene.background().clearContents(); }
};

} // namespace

std::unique_ptr<ConversionServices>
makeSceneServices(const std::filesystem::path& temporaryDirectory) {
    return std::make_unique<SceneServices>(temporaryDirectory);
}

} // namespace brightfold
