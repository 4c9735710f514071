#pragma once

#include <Brightfold/SystemServices.h>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <stop_token>
#include <string>
#include <vector>

// Real files in a test folder; a loader, writer and reader that follow a script.
class ScriptedServices : public brightfold::SystemServices {
  public:
    explicit ScriptedServices(std::filesystem::path temporaryDirectory);

    bool writeSucceeds = true;
    // What every package check finds.
    brightfold::PackageVerdict verdict;
    // The clips every write reports; the one it was asked for is played.
    brightfold::AnimationClips clips;
    std::string lastAnimation() const;
    // Keeps each conversion waiting inside the writer until released.
    void holdWrites();
    void releaseWrites();

    brightfold::SceneHandle readBackScene() const { return readBackScene_; }
    // The profile the last package was written with.
    brightfold::ConversionOptions::Profile lastWriteProfile() const;

    // Where a stop request is seen: a held write gives up as soon as one arrives.
    brightfold::SceneHandle loadWithGLTFReader(const std::filesystem::path& file,
                                               std::stop_token stop) override;
    brightfold::SceneHandle importModel(const std::filesystem::path& file,
                                        std::stop_token stop) override;
    bool hasGeometry(const scene::Scene&) override { return true; }
    brightfold::USDZWriteResult
    writeUSDZ(const scene::Scene& scene, const std::filesystem::path& destination,
              const std::string& packageName, const brightfold::ConversionOptions& options,
              const brightfold::ProgressHandler& progress, std::stop_token stop) override;
    brightfold::SceneHandle readUSDZ(const std::filesystem::path& file,
                                     std::vector<std::string>& warnings) override;
    brightfold::PackageVerdict checkPackage(const std::filesystem::path&,
                                            const brightfold::ConversionOptions&) override {
        return verdict;
    }
    void clearBackground(scene::Scene&) override {}
    std::filesystem::path temporaryDirectory() override { return temporaryDirectory_; }

  private:
    const std::filesystem::path temporaryDirectory_;
    const brightfold::SceneHandle readBackScene_;
    mutable std::mutex holdMutex_;
    std::string lastAnimation_;
    std::condition_variable_any released_;
    bool holding_ = false;
    brightfold::ConversionOptions::Profile lastWriteProfile_{};
};
