#pragma once

#include <SceneGraph/MaterialProperty.h>
#include <cstdint>
#include <optional>

class GLTFUnarchiver;

namespace gltf {

// Puts texture `textureIndex` into a material slot and maps it with texture-coordinate set
// `texCoord` (set 0 when absent). A set number that is negative or beyond what a slot can
// name is refused.
void setMappedTexture(GLTFUnarchiver& unarchiver, std::int64_t textureIndex,
                      std::optional<std::int64_t> texCoord, scene::MaterialProperty& slot);

// The same for any reference from a material to a texture (base colour, normal, occlusion …).
template <class TextureReference>
void setMappedTexture(GLTFUnarchiver& unarchiver, const TextureReference& reference,
                      scene::MaterialProperty& slot) {
    setMappedTexture(unarchiver, reference.index, reference._texCoord, slot);
}

} // namespace gltf
