#pragma once

#include "extensions/KHRTextureTransform.h"

#include <SceneGraph/MaterialProperty.h>
#include <cstdint>
#include <optional>

class GLTFUnarchiver;

namespace gltf {

// The slot's mapping channel for texture-coordinate set `texCoord` (set 0 when absent). A set
// number that is negative or beyond what a slot can name is refused.
int mappingChannelOf(std::optional<std::int64_t> texCoord);

// Puts texture `textureIndex` into a material slot and maps it with texture-coordinate set
// `texCoord` (set 0 when absent). A set number that is negative or beyond what a slot can
// name is refused.
void setMappedTexture(GLTFUnarchiver& unarchiver, std::int64_t textureIndex,
                      std::optional<std::int64_t> texCoord, scene::MaterialProperty& slot);

// The same for any reference from a material to a texture (base colour, normal, occlusion …),
// with the texture transform the reference carries.
template <class TextureReference>
void setMappedTexture(GLTFUnarchiver& unarchiver, const TextureReference& reference,
                      scene::MaterialProperty& slot) {
    setMappedTexture(unarchiver, reference.index, reference._texCoord, slot);
    extensions::applyTextureTransform(reference.extensions, slot);
}

} // namespace gltf
