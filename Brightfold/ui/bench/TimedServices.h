#pragma once

#include <Brightfold/ConversionServices.h>
#include <chrono>
#include <memory>
#include <mutex>

namespace brightfold::bench {

// How long the last conversion spent in each step the services perform.
struct StepTimes {
    std::chrono::duration<double> load{};     // reading the source model
    std::chrono::duration<double> write{};    // writing the USDZ package
    std::chrono::duration<double> readBack{}; // reading the package for the preview
};

// The real services, each step timed.
class TimedServices : public ConversionServices {
  public:
    explicit TimedServices(std::shared_ptr<ConversionServices> real) : real_(std::move(real)) {}

    StepTimes takeTimes();

    SceneHandle loadWithGLTFReader(const std::filesystem::path& file,
                                   std::stop_token stop) override;
    SceneHandle importModel(const std::filesystem::path& file, std::stop_token stop) override;
    bool hasGeometry(const scene::Scene& scene) override { return real_->hasGeometry(scene); }
    std::vector<std::string> loadNotes(const scene::Scene& scene) override {
        return real_->loadNotes(scene);
    }
    USDZWriteResult writeUSDZ(const scene::Scene& scene, const std::filesystem::path& destination,
                              const std::string& packageName, const ProgressHandler& progress,
                              std::stop_token stop) override;
    SceneHandle readUSDZ(const std::filesystem::path& file,
                         std::vector<std::string>& warnings) override;
    void clearBackground(scene::Scene& scene) override { real_->clearBackground(scene); }
    std::filesystem::path temporaryDirectory() override { return real_->temporaryDirectory(); }
    std::string makeIdentifier() override { return real_->makeIdentifier(); }
    void moveReplacing(const std::filesystem::path& from,
                       const std::filesystem::path& to) override {
        real_->moveReplacing(from, to);
    }
    void removeFileQuietly(const std::filesystem::path& file) override {
        real_->removeFileQuietly(file);
    }
    void printLine(std::string_view line) override { real_->printLine(line); }

  private:
    template <typename Step> auto timed(std::chrono::duration<double> StepTimes::*into, Step step);

    std::shared_ptr<ConversionServices> real_;
    std::mutex mutex_;
    StepTimes times_;
};

} // namespace brightfold::bench
