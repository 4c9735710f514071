#pragma once

#include <SceneGraph/Scene.h>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace usd {

// A USD file that yields no scene; what() says why, fit to show a user.
class SceneReadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Things the reader left out or changed while still producing a scene (an unsupported prim
// type, a face with an out-of-range corner …), one sentence each.
using SceneReadNotes = std::vector<std::string>;

// Reads a USDZ package into a scene (textures from the package's entries, bytes kept as-is).
// Throws SceneReadError.
std::shared_ptr<scene::Scene> readUSDZ(const std::filesystem::path& url);
std::shared_ptr<scene::Scene> readUSDZ(const std::filesystem::path& url, SceneReadNotes& notes);

// Reads a bare .usdc layer; asset paths (textures, references, payloads, sublayers) resolve
// beside it. Throws SceneReadError.
std::shared_ptr<scene::Scene> readUSDLayerFile(const std::filesystem::path& file);
std::shared_ptr<scene::Scene> readUSDLayerFile(const std::filesystem::path& file,
                                               SceneReadNotes& notes);

} // namespace usd
