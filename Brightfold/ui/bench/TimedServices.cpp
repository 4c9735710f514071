#include "TimedServices.h"

#include <utility>

namespace brightfold::bench {

template <typename Step>
auto TimedServices::timed(std::chrono::duration<double> StepTimes::*into, Step step) {
    const auto start = std::chrono::steady_clock::now();
    auto result = step();
    const auto spent = std::chrono::steady_clock::now() - start;
    std::lock_guard lock(mutex_);
    times_.*into += spent;
    return result;
}

StepTimes TimedServices::takeTimes() {
    std::lock_guard lock(mutex_);
    return std::exchange(times_, {});
}

SceneHandle TimedServices::loadWithGLTFReader(const std::filesystem::path& file,
                                              std::stop_token stop) {
    return timed(&StepTimes::load,
                 [&] { return ForwardingServices::loadWithGLTFReader(file, stop); });
}

SceneHandle TimedServices::importModel(const std::filesystem::path& file, std::stop_token stop) {
    return timed(&StepTimes::load, [&] { return ForwardingServices::importModel(file, stop); });
}

USDZWriteResult TimedServices::writeUSDZ(const scene::Scene& scene,
                                         const std::filesystem::path& destination,
                                         const std::string& packageName,
                                         const ConversionOptions& options,
                                         const ProgressHandler& progress, std::stop_token stop) {
    return timed(&StepTimes::write, [&] {
        return ForwardingServices::writeUSDZ(scene, destination, packageName, options, progress,
                                             stop);
    });
}

SceneHandle TimedServices::readUSDZ(const std::filesystem::path& file,
                                    std::vector<std::string>& notes) {
    return timed(&StepTimes::readBack, [&] { return ForwardingServices::readUSDZ(file, notes); });
}

} // namespace brightfold::bench
