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

SceneHandle TimedServices::loadWithGLTFReader(const std::filesystem::path& file) {
    return timed(&StepTimes::load, [&] { return real_->loadWithGLTFReader(file); });
}

SceneHandle TimedServices::importModel(const std::filesystem::path& file) {
    return timed(&StepTimes::load, [&] { return real_->importModel(file); });
}

USDZWriteResult TimedServices::writeUSDZ(const scene::Scene& scene,
                                         const std::filesystem::path& destination,
                                         const ProgressHandler& progress) {
    return timed(&StepTimes::write, [&] { return real_->writeUSDZ(scene, destination, progress); });
}

SceneHandle TimedServices::readUSDZ(const std::filesystem::path& file) {
    return timed(&StepTimes::readBack, [&] { return real_->readUSDZ(file); });
}

} // namespace brightfold::bench
