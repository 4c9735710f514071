#pragma once

#include "Findings.h"
#include "ImageLibrary.h"

#include <SceneGraph/Material.h>
#include <USD/ValueTypes.h>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace usd::writer {

// One UsdUVTexture node of a material.
struct TextureRead {
    std::string nodeName; // "diffuseTexture" …
    std::shared_ptr<scene::Image> image;
    ImageUse use;
    int texCoordChannel = 0;
    scene::WrapMode wrapS = scene::WrapMode::repeat;
    scene::WrapMode wrapT = scene::WrapMode::repeat;
    scene::Matrix4 contentsTransform{1.0};
    bool asksForNearestFilter = false; // blocky magnification, which the AR viewer lacks
    bool sRGB = false;
    Vec4f scale{1, 1, 1, 1};
    Vec4f bias{0, 0, 0, 0};
    Vec4f fallback{1, 1, 1, 1};
};

// An output of one of the material's texture nodes: "rgb", "r", "g", "b" or "a".
struct TextureOutput {
    std::size_t texture = 0;
    std::string output;
};

// One input of the UsdPreviewSurface: a constant or a texture output.
struct SurfaceInput {
    std::string name;     // "diffuseColor"
    std::string typeName; // "color3f", "float" or "normal3f"
    std::variant<Vec3f, float, TextureOutput> value;
};

// What the UsdPreviewSurface of a scene material shows, before anything is authored.
struct SurfaceDescription {
    std::vector<TextureRead> textures;
    std::vector<SurfaceInput> inputs;

    std::size_t addTexture(TextureRead texture);
    void set(std::string name, std::string typeName,
             std::variant<Vec3f, float, TextureOutput> value);
    // The input of that name, or null.
    SurfaceInput* input(std::string_view name);
};

// Translates the material's lighting model, slots, factors and alpha mode into surface inputs.
SurfaceDescription describeSurface(const scene::Material& material, ImageLibrary& images,
                                   Findings& findings);

} // namespace usd::writer
