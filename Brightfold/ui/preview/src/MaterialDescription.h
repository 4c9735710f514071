#pragma once

#include <SceneGraph/MaterialProperty.h>
#include <glm/glm.hpp>
#include <memory>
#include <optional>

namespace scene {
class Image;
class Material;
} // namespace scene

namespace brightfold::preview {

enum class AlphaMode { opaque, blend, mask };
enum class TextureChannel { red, green, blue, alpha };
enum class FaceCulling { back, front, none };

/// An image in a material slot and how it is sampled.
struct TextureDescription {
    std::shared_ptr<scene::Image> image;
    /// Which of the two texture-coordinate channels maps it.
    int uvChannel = 0;
    /// The channel a single-valued slot reads.
    TextureChannel channel = TextureChannel::red;
    scene::WrapMode wrapS = scene::WrapMode::repeat;
    scene::WrapMode wrapT = scene::WrapMode::repeat;
    scene::FilterMode minification = scene::FilterMode::linear;
    scene::FilterMode magnification = scene::FilterMode::linear;
    scene::FilterMode mip = scene::FilterMode::none;
};

/// A physically based surface as the renderer takes it: factors, optional maps, alpha
/// handling and face culling.
struct MaterialDescription {
    /// Linear RGBA; multiplies the base colour map.
    glm::vec4 baseColor{1.0f};
    float metalness = 0.0f;
    float roughness = 1.0f;
    glm::vec3 emissiveFactor{0.0f};
    float occlusionAmount = 1.0f;
    std::optional<TextureDescription> baseColorMap;
    std::optional<TextureDescription> metalnessMap;
    std::optional<TextureDescription> roughnessMap;
    std::optional<TextureDescription> normalMap;
    std::optional<TextureDescription> occlusionMap;
    std::optional<TextureDescription> emissiveMap;
    AlphaMode alphaMode = AlphaMode::opaque;
    float alphaCutoff = 0.5f;
    FaceCulling culling = FaceCulling::back;
    /// Constant-lit materials show their colour whatever the lights.
    bool unlit = false;
};

/// How `material` looks in the preview.
///
/// A slot holding a colour or number gives the factor itself; a slot holding an image gives
/// the map, and its factor then comes from the material's named values (baseColorFactorR …,
/// metallicFactor, roughnessFactor, emissiveFactorR …), which is how scenes keep a factor
/// beside a texture. Metalness and roughness read the channel their slot selects (blue and
/// green of a packed image). Alpha: a cut-out material masks at its cut-off; otherwise blend
/// mode "replace" is opaque, and a material that does not write depth, or is less than fully
/// opaque, blends.
MaterialDescription describeMaterial(const scene::Material& material);

/// The culling that hides the same faces once a mirroring transform (negative determinant) has
/// turned every triangle's winding around.
FaceCulling mirroredCulling(FaceCulling culling);

} // namespace brightfold::preview
