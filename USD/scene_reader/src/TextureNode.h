#pragma once

#include "AssetResolver.h"
#include "ShaderNetwork.h"

#include <SceneGraph/Image.h>
#include <SceneGraph/MaterialProperty.h>
#include <map>
#include <memory>
#include <string>

namespace usd::reader {

// What a UsdUVTexture shader says, read from its inputs and the nodes feeding its st input.
struct TextureNode {
    const ComposedPrim* shader = nullptr;
    std::string file;                    // as authored
    std::shared_ptr<scene::Image> image; // null when the file cannot be read
    std::string output;                  // "rgb", "r", "a" …
    std::string texcoordPrimvar = "st";  // what its primvar reader reads
    glm::dvec4 scale{1.0};
    glm::dvec4 bias{0.0};
    glm::dvec4 fallback{0.0, 0.0, 0.0, 1.0};
    scene::WrapMode wrapS = scene::WrapMode::repeat;
    scene::WrapMode wrapT = scene::WrapMode::repeat;
    std::string sourceColorSpace = "auto";
    scene::Matrix4 contentsTransform{1.0};
};

// Reads texture nodes, opening each image file once.
class TextureReader {
  public:
    TextureReader(const ShaderNetwork& network, AssetResolver& assets, SceneReadNotes& notes)
        : network_(network), assets_(assets), notes_(notes) {}

    // The texture node behind a shader output, or nullopt when that shader is no UsdUVTexture.
    std::optional<TextureNode> read(const ShaderOutput& output);

  private:
    std::shared_ptr<scene::Image> image(const InputSource& file);
    void readCoordinates(const ComposedPrim& texture, TextureNode& node) const;

    const ShaderNetwork& network_;
    AssetResolver& assets_;
    SceneReadNotes& notes_;
    std::map<std::string, std::shared_ptr<scene::Image>> images_;
};

} // namespace usd::reader
