#pragma once

#include <filesystem>
#include <memory>

namespace scene {
class Scene;
} // namespace scene

namespace modelimporter {

// Reads a USD crate file into a scene. Throws ImportError.
std::shared_ptr<scene::Scene> importUsdc(const std::filesystem::path& file);

} // namespace modelimporter
