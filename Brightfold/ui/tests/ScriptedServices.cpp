#include "ScriptedServices.h"

#include <SceneGraph/Scene.h>
#include <fstream>
#include <stdexcept>

ScriptedServices::ScriptedServices(std::filesystem::path temporaryDirectory)
    : temporaryDirectory_(std::move(temporaryDirectory)), readBackScene_(scene::Scene::create()) {}

void ScriptedServices::holdWrites() {
    std::lock_guard lock(holdMutex_);
    holding_ = true;
}

void ScriptedServices::releaseWrites() {
    {
        std::lock_guard lock(holdMutex_);
        holding_ = false;
    }
    released_.notify_all();
}

brightfold::SceneHandle ScriptedServices::loadWithGLTFReader(const std::filesystem::path&,
                                                             std::stop_token) {
    return scene::Scene::create();
}

brightfold::SceneHandle ScriptedServices::importModel(const std::filesystem::path&,
                                                      std::stop_token) {
    return scene::Scene::create();
}

brightfold::ConversionOptions::Profile ScriptedServices::lastWriteProfile() const {
    std::lock_guard lock(holdMutex_);
    return lastWriteProfile_;
}

brightfold::USDZWriteResult
ScriptedServices::writeUSDZ(const scene::Scene&, const std::filesystem::path& destination,
                            const std::string&, const brightfold::ConversionOptions& options,
                            const brightfold::ProgressHandler& progress, std::stop_token stop) {
    progress(0.5f);
    {
        std::unique_lock lock(holdMutex_);
        lastWriteProfile_ = options.profile;
        if (!released_.wait(lock, stop, [this] { return !holding_; })) {
            return {};
        }
        lastAnimation_ = options.animation;
    }
    std::ofstream(destination) << "package";
    progress(1.0f);
    brightfold::USDZWriteResult result;
    result.succeeded = writeSucceeds;
    result.clips = clips;
    if (!options.animation.empty()) {
        result.clips.played = {std::stoul(options.animation)};
    }
    return result;
}

std::string ScriptedServices::lastAnimation() const {
    std::lock_guard lock(holdMutex_);
    return lastAnimation_;
}

brightfold::SceneHandle ScriptedServices::readUSDZ(const std::filesystem::path& file,
                                                   std::vector<std::string>&) {
    if (!std::filesystem::exists(file)) {
        throw std::runtime_error("no package at " + file.string());
    }
    return readBackScene_;
}
