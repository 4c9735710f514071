#pragma once

#include "Notes.h"
#include "textures/ImageLibrary.h"

#include <SceneGraph/Material.h>
#include <USD/layer/ValueTypes.h>
#include <compare>
#include <cstdint>
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

// A primvar of the bound mesh read through a UsdPrimvarReader: its vertex colours
// ("displayColor", a colour fallback) or opacities ("displayOpacity", a number fallback). A
// mesh without the primvar shows the fallback.
struct PrimvarOutput {
    std::string varname;
    std::variant<Vec3f, float> fallback;
};

// One input of the UsdPreviewSurface: a constant, a texture output or a mesh primvar.
struct SurfaceInput {
    using Value = std::variant<Vec3f, float, std::int32_t, TextureOutput, PrimvarOutput>;
    std::string name;     // "diffuseColor"
    std::string typeName; // "color3f", "float", "int" or "normal3f"
    Value value;
};

// What the meshes' vertex colours and opacities are multiplied by before they are written: the
// constant colour and opacity of a material whose primvar readers took their place (a reader
// cannot scale what it reads).
struct VertexColorScale {
    Vec3f color{1, 1, 1};
    float opacity = 1.0f;

    bool operator==(const VertexColorScale&) const = default;
};

// What the UsdPreviewSurface of a scene material shows, before anything is authored.
struct SurfaceDescription {
    std::vector<TextureRead> textures;
    std::vector<SurfaceInput> inputs;
    VertexColorScale vertexColorScale;

    std::size_t addTexture(TextureRead texture);
    void set(std::string name, std::string typeName, SurfaceInput::Value value);
    // The input of that name, or null.
    SurfaceInput* input(std::string_view name);
};

// Which per-vertex data of the meshes a material prim is bound to changes how they look:
// colours other than white, opacities below one.
struct VertexColorUse {
    bool colors = false;
    bool opacities = false;

    auto operator<=>(const VertexColorUse&) const = default;
};

// The part of `use` that shows in `material`: its vertex opacities only where its alpha shows
// (it blends or cuts out).
VertexColorUse visibleVertexColors(const scene::Material& material, VertexColorUse use);

// Translates the material's lighting model, slots, factors and alpha mode into surface inputs,
// and the vertex colours of the meshes it is bound to (as far as they show) into the inputs they
// multiply.
SurfaceDescription describeSurface(const scene::Material& material, VertexColorUse vertexColors,
                                   ImageLibrary& images, Notes& notes);

} // namespace usd::writer
