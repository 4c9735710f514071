#pragma once

#include <SceneGraph/Image.h>
#include <cstdint>
#include <vector>

namespace usd::writer {

// Which of an image's four RGBA channels a material reads.
enum class ImageChannel { red = 0, green = 1, blue = 2, alpha = 3 };

// Images computed where the AR viewer has no input for a value (it ignores texture bias).
// Each throws std::runtime_error when the image cannot be decoded.

// Grey image 1 + strength·(ao − 1): occlusion at the given strength.
std::vector<std::uint8_t> bakeOcclusionStrength(const scene::Image& image, ImageChannel channel,
                                                double strength);

// Grey image 1 − glossinessFactor·gloss: roughness from a glossiness channel.
std::vector<std::uint8_t> bakeRoughnessFromGlossiness(const scene::Image& image,
                                                      ImageChannel channel,
                                                      double glossinessFactor);

// The image re-encoded as PNG (RGBA only when some pixel is not opaque).
std::vector<std::uint8_t> reencodeAsPng(const scene::Image& image);

// Whether the channel is 0 in every pixel.
bool isChannelAllZero(const scene::Image& image, ImageChannel channel);

} // namespace usd::writer
