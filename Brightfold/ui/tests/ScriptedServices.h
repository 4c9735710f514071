#pragma once

#include <Brightfold/SystemServices.h>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>

// Real files in a test folder; a loader, writer and reader that follow a script.
class ScriptedServices : public brightfold::SystemServices {
  public:
    explicit ScriptedServices(std::filesystem::path temporaryDirectory);

    bool writeSucceeds = true;
    // Keeps each conversion waiting inside the writer until released.
    void holdWrites();
    void releaseWrites();

    brightfold::SceneHandle readBackScene() const { return readBackScene_; }

    brightfold::SceneHandle loadWithGLTFReader(const std::filesystem::path& file) override;
    brightfold::SceneHandle importModel(const std::filesystem::path& file) override;
    bool hasGeometry(const scene::Scene&) override { return true; }
    brightfold::USDZWriteResult writeUSDZ(const scene::Scene& scene,
                                          const std::filesystem::path& destination,
                                          const brightfold::ProgressHandler& progress) override;
    brightfold::SceneHandle readUSDZ(const std::filesystem::path& file) override;
    void clearBackground(scene::Scene&) override {}
    std::filesystem::path temporaryDirectory() override { return temporaryDirectory_; }

  private:
    const std::filesystem::path temporaryDirectory_;
    const brightfold::SceneHandle readBackScene_;
    std::mutex holdMutex_;
    std::condition_variable released_;
    bool holding_ = false;
};
