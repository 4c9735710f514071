#pragma once

#include <SceneGraph/Scene.h>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace bench {

// The generated one-million-triangle grid (written as a GLB in `folder` and loaded with the glTF
// reader) drawn with a material whose diffuse slot holds a PNG of `textureSide`² pixels.
struct TexturedGrid {
    std::shared_ptr<scene::Scene> scene;
    std::uintmax_t inputBytes = 0; // the GLB and the PNG, as the converter would read them
};

TexturedGrid makeTexturedGrid(const std::filesystem::path& folder, int textureSide = 2048);

} // namespace bench
