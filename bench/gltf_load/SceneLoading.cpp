#include "SceneLoading.h"

#include <GLTFReader/GLTFSceneSource.h>
#include <benchmark/benchmark.h>

namespace bench {

std::vector<std::filesystem::path> filesReadByLoad(const std::filesystem::path& document) {
    if (document.extension() != ".gltf") {
        return {document};
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(document.parent_path())) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    return files;
}

std::uintmax_t totalSize(const std::vector<std::filesystem::path>& files) {
    std::uintmax_t size = 0;
    for (const std::filesystem::path& file : files) {
        size += std::filesystem::file_size(file);
    }
    return size;
}

void loadScene(const std::filesystem::path& document) {
    const GLTFSceneSource source{document};
    benchmark::DoNotOptimize(source.sceneWithOptions());
}

} // namespace bench
