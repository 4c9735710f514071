#pragma once

#include <Brightfold/ForwardingServices.h>
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
class TimedServices : public ForwardingServices {
  public:
    using ForwardingServices::ForwardingServices;

    StepTimes takeTimes();

    SceneHandle loadWithGLTFReader(const std::filesystem::path& file,
                                   std::stop_token stop) override;
    SceneHandle importModel(const std::filesystem::path& file, std::stop_token stop) override;
    USDZWriteResult writeUSDZ(const scene::Scene& scene, const std::filesystem::path& destination,
                              const std::string& packageName, const ConversionOptions& options,
                              const ProgressHandler& progress, std::stop_token stop) override;
    SceneHandle readUSDZ(const std::filesystem::path& file,
                         std::vector<std::string>& notes) override;

  private:
    template <typename Step> auto timed(std::chrono::duration<double> StepTimes::*into, Step step);

    std::mutex mutex_;
    StepTimes times_;
};

} // namespace brightfold::bench
