#pragma once

#include <assimp/material.h>
#include <memory>

namespace scene {
class Material;
} // namespace scene

namespace modelimporter {

class TextureSource;

// A physically based material: base colour, metalness and roughness as colours or (packed)
// textures, normal, occlusion and emission maps, double-sidedness and the alpha mode. The
// factors that scale a texture travel as the named values the USD writer reads
// ("baseColorFactorR" …, "metallicFactor", "roughnessFactor", "emissiveFactorR" …,
// "alphaCutoff"), exactly as the glTF reader leaves them.
std::shared_ptr<scene::Material> convertMaterial(const aiMaterial& material,
                                                 TextureSource& textures);

} // namespace modelimporter
