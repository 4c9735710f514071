#pragma once

#include <SceneGraph/Image.h>
#include <cstdint>
#include <vector>

namespace usd::writer {

// How a texture made in the writer is stored.
enum class TextureFormat { png, jpeg };

// Whether every pixel's alpha is 255.
bool isOpaque(const scene::RGBA8Pixels& rgba);

// The RGBA pixels as a texture file keeping `channels` of them (1 grey: red, 2 grey and
// alpha, 3 RGB, 4 RGBA). A JPEG holds grey or RGB (alpha is dropped), at a quality at which
// a re-encoded photograph shows no visible loss.
std::vector<std::uint8_t> encodeTexture(const scene::RGBA8Pixels& rgba, int channels,
                                        TextureFormat format);

} // namespace usd::writer
