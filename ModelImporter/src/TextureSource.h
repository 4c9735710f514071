#pragma once

#include <assimp/scene.h>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace scene {
class Image;
} // namespace scene

namespace modelimporter {

// Finds the image a material names: embedded in the file ("*0", or an embedded file name) or
// a file beside the model. Each image is read once and shared by every slot that uses it.
class TextureSource {
  public:
    TextureSource(const aiScene& scene, std::filesystem::path modelDirectory);

    // Null when the image is missing or is no PNG or JPEG the scene graph can hold.
    std::shared_ptr<scene::Image> image(const std::string& reference);

  private:
    std::shared_ptr<scene::Image> load(const std::string& reference) const;
    std::shared_ptr<scene::Image> loadEmbedded(const aiTexture& texture) const;
    std::shared_ptr<scene::Image> loadFile(const std::string& reference) const;

    const aiScene& scene_;
    std::filesystem::path modelDirectory_;
    std::map<std::string, std::shared_ptr<scene::Image>> cache_;
};

} // namespace modelimporter
