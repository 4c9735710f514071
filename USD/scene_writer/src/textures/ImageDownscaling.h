#pragma once

#include "textures/TextureFitting.h"

#include <SceneGraph/Image.h>

namespace usd::writer {

// What a texture's pixels mean, which decides how several of them become one.
enum class ImageContent {
    // sRGB colour with straight alpha: averaged in linear light, colour weighted by alpha so
    // that transparent pixels do not darken the edges of opaque ones.
    colour,
    // Numbers (roughness, metalness, occlusion …): averaged as stored.
    data,
    // Tangent-space directions stored as (n + 1) / 2: averaged as vectors, then made unit
    // length again.
    normal,
};

// The image shrunk to `size` (neither side larger than the source's): every new pixel is
// the average of the source area it covers, as an area filter does. A PNG is read a row at a
// time, so only the new pixels are held whole. Throws std::runtime_error when the image
// cannot be decoded, std::invalid_argument for a size that is no downscale.
scene::RGBA8Pixels downscaled(const scene::Image& image, TextureSize size, ImageContent content);

} // namespace usd::writer
