#pragma once

#include "materials/SurfaceDescription.h"

#include <array>
#include <string_view>

// The pieces every lighting model is made of: one function per material slot.
namespace usd::writer::surface {

// A texture node reading the slot's image the way the slot does (channel, wrap, transform).
TextureRead textureFor(const scene::MaterialProperty& slot, std::string nodeName, bool sRGB);

// What the base colour slot became: the texture node showing it, and its constant alpha.
struct BaseColor {
    std::optional<std::size_t> texture;
    double alpha = 1.0;
};

// The diffuse slot into `inputName` ("diffuseColor", or "emissiveColor" for unlit materials):
// a colour as stored, or an image scaled by `factors` (rgb also by the slot's intensity).
BaseColor describeBaseColor(SurfaceDescription& surface, const scene::Material& material,
                            const std::array<double, 4>& factors, const std::string& inputName);

void describeMetallicRoughness(SurfaceDescription& surface, const scene::Material& material);
void describeNormal(SurfaceDescription& surface, const scene::Material& material);
void describeOcclusion(SurfaceDescription& surface, const scene::Material& material,
                       ImageLibrary& images, Notes& notes);
void describeEmission(SurfaceDescription& surface, const scene::Material& material);
// A constant colour in the multiply slot tints the base colour.
void foldMultiplyColor(SurfaceDescription& surface, const scene::Material& material,
                       const BaseColor& base, Notes& notes);
void describeOpacity(SurfaceDescription& surface, const scene::Material& material,
                     const BaseColor& base, Notes& notes);

} // namespace usd::writer::surface
