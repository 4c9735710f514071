#pragma once

#include <Brightfold/ConversionServices.h>
#include <memory>
#include <utility>

namespace brightfold {

// Services that pass every call on to other services: the base of those that add something
// to a few steps (timing them, preparing a scene for the preview) and leave the rest as is.
class ForwardingServices : public ConversionServices {
  public:
    explicit ForwardingServices(std::shared_ptr<ConversionServices> inner)
        : inner_(std::move(inner)) {}

    SceneHandle loadWithGLTFReader(const std::filesystem::path& file,
                                   std::stop_token stop) override {
        return inner_->loadWithGLTFReader(file, stop);
    }
    SceneHandle importModel(const std::filesystem::path& file, std::stop_token stop) override {
        return inner_->importModel(file, stop);
    }
    bool hasGeometry(const scene::Scene& scene) override { return inner_->hasGeometry(scene); }
    std::vector<std::string> loadNotes(const scene::Scene& scene) override {
        return inner_->loadNotes(scene);
    }
    USDZWriteResult writeUSDZ(const scene::Scene& scene, const std::filesystem::path& destination,
                              const std::string& packageName, const ConversionOptions& options,
                              const ProgressHandler& progress, std::stop_token stop) override {
        return inner_->writeUSDZ(scene, destination, packageName, options, progress, stop);
    }
    SceneHandle readUSDZ(const std::filesystem::path& file,
                         std::vector<std::string>& notes) override {
        return inner_->readUSDZ(file, notes);
    }
    PackageVerdict checkPackage(const std::filesystem::path& file,
                                const ConversionOptions& options) override {
        return inner_->checkPackage(file, options);
    }
    void clearBackground(scene::Scene& scene) override { inner_->clearBackground(scene); }
    std::filesystem::path temporaryDirectory() override { return inner_->temporaryDirectory(); }
    std::string makeIdentifier() override { return inner_->makeIdentifier(); }
    void moveReplacing(const std::filesystem::path& from,
                       const std::filesystem::path& to) override {
        inner_->moveReplacing(from, to);
    }
    void removeFileQuietly(const std::filesystem::path& file) override {
        inner_->removeFileQuietly(file);
    }
    void printLine(std::string_view line) override { inner_->printLine(line); }

  private:
    std::shared_ptr<ConversionServices> inner_;
};

} // namespace brightfold
