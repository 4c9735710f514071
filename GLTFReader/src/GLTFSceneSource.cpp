#include "LoadStopping.h"

#include <GLTFReader/GLTFSceneSource.h>

template <class... Arguments> void GLTFSceneSource::keepLoaderOrError(Arguments&&... arguments) {
    try {
        loader_ = std::make_unique<GLTFUnarchiver>(std::forward<Arguments>(arguments)...);
    } catch (...) {
        error_ = std::current_exception();
    }
}

GLTFSceneSource::GLTFSceneSource(const std::filesystem::path& url,
                                 const GLTFExtensionRegistry& callerRegistry) {
    keepLoaderOrError(url, callerRegistry);
}

GLTFSceneSource::GLTFSceneSource(gltf::ByteBlock data) {
    keepLoaderOrError(std::move(data));
}

GLTFUnarchiver& GLTFSceneSource::requireLoader() const {
    if (loader_) {
        return *loader_;
    }
    if (error_) {
        std::rethrow_exception(error_);
    }
    throw GLTFUnarchiveError::unknown("loader is not initialized");
}

std::shared_ptr<scene::Scene> GLTFSceneSource::sceneWithOptions(std::stop_token stop) const {
    GLTFUnarchiver& loader = requireLoader();
    const gltf::LoadStopScope stopScope(std::move(stop));
    const std::optional<std::int64_t> scene = loader.json().scene;
    return scene ? loader.loadScene(*scene) : loader.loadRootNodesScene();
}
