#pragma once

#include <Brightfold/SystemServices.h>
#include <SceneGraph/Scene.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// Real file operations inside a test folder; scripted loaders, writer and reader.
class FakeServices : public brightfold::SystemServices {
  public:
    explicit FakeServices(std::filesystem::path temporaryDirectory)
        : temporaryDirectory_(std::move(temporaryDirectory)) {}

    // What the scripted services do.
    bool readerRefuses = false;
    std::optional<std::string> importerError;
    bool importedSceneHasGeometry = true;
    bool writeSucceeds = true;
    std::vector<float> progressReports = {0.5f, 1.0f};
    std::vector<std::string> writerNotes;
    brightfold::AnimationClips writtenClips;
    std::optional<std::string> readBackError;
    // What every package check finds.
    brightfold::PackageVerdict verdict;

    // What happened, in order.
    std::vector<std::string> calls() const;
    std::vector<std::string> printedLines() const;
    brightfold::SceneHandle readerScene() const { return readerScene_; }
    brightfold::SceneHandle readBackScene() const { return readBackScene_; }
    brightfold::SceneHandle clearedScene() const;
    brightfold::ProgressHandler keptProgressHandler() const;

    // Runs inside the writer, after the scripted progress reports (to act mid-conversion).
    std::function<void(std::stop_token)> duringWrite;
    std::vector<std::string> readWarnings;

    // The files checked, in order (kept apart from calls(), which tells the steps).
    std::vector<std::filesystem::path> checkedFiles() const;
    std::string lastPackageName() const;
    brightfold::ConversionOptions lastWriteOptions() const;

    brightfold::SceneHandle loadWithGLTFReader(const std::filesystem::path& file,
                                               std::stop_token stop) override;
    brightfold::SceneHandle importModel(const std::filesystem::path& file,
                                        std::stop_token stop) override;
    bool hasGeometry(const scene::Scene& scene) override;
    brightfold::USDZWriteResult
    writeUSDZ(const scene::Scene& scene, const std::filesystem::path& destination,
              const std::string& packageName, const brightfold::ConversionOptions& options,
              const brightfold::ProgressHandler& progress, std::stop_token stop) override;
    brightfold::SceneHandle readUSDZ(const std::filesystem::path& file,
                                     std::vector<std::string>& warnings) override;
    brightfold::PackageVerdict checkPackage(const std::filesystem::path& file,
                                            const brightfold::ConversionOptions& options) override;
    void clearBackground(scene::Scene& scene) override;
    std::filesystem::path temporaryDirectory() override { return temporaryDirectory_; }
    std::string makeIdentifier() override;
    void printLine(std::string_view line) override;

  private:
    void record(std::string call);

    const std::filesystem::path temporaryDirectory_;
    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
    std::vector<std::string> printedLines_;
    std::vector<std::filesystem::path> checkedFiles_;
    int identifiersMade_ = 0;
    std::string lastPackageName_;
    brightfold::ConversionOptions lastWriteOptions_;
    // The workflow never looks inside a scene; tests tell scenes apart by identity.
    const brightfold::SceneHandle readerScene_ = scene::Scene::create();
    const brightfold::SceneHandle importedScene_ = scene::Scene::create();
    const brightfold::SceneHandle readBackScene_ = scene::Scene::create();
    const scene::Scene* clearedScene_ = nullptr;
    brightfold::ProgressHandler keptProgressHandler_;
};
