// The specular-glossiness model applied over a finished material: a diffuse colour or texture,
// a specular colour with glossiness or their packed texture in the multiply slot, and the
// shader modifier that computes the surface from them.
#include "ExtensionParts.h"
#include "MaterialFactors.h"
#include "MaterialTextures.h"
#include "ShaderModifiers.h"
#include "extensions/GLTFKHRMaterialsPbrSpecularGlossiness.h"

#include <SceneGraph/Material.h>
#include <SceneGraph/MaterialContract.h>
#include <algorithm>
#include <memory>
#include <string>

namespace {

using Payload = GLTFKHRMaterialsPbrSpecularGlossiness_GLTFKHRMaterialsPbrSpecularGlossiness;
using scene::Material;

std::vector<float> factorOf(const std::optional<std::vector<float>>& factor,
                            std::vector<float> fallback, const char* name) {
    return gltf::factorOrDefault(factor, std::move(fallback),
                                 std::string("KHR_materials_pbrSpecularGlossiness ") + name);
}

// Factors reach the shader as uniforms where a texture fills the slot; otherwise the slot's
// colour carries them and the uniforms stay neutral.
std::vector<float> uniformFactor(std::vector<float> factor, bool textured) {
    if (!textured) {
        std::ranges::fill(factor, 1.0f);
    }
    return factor;
}

// Whether the texture could be put into the slot; one that cannot is left out, and the slot
// takes the factor's colour instead.
template <class TextureReference>
bool setTextureOrLeaveOut(const std::optional<TextureReference>& reference,
                          scene::MaterialProperty& slot, GLTFUnarchiver& unarchiver,
                          const char* name) {
    return reference && gltf::applyOrLeaveOut(
                            unarchiver, std::string("KHR_materials_pbrSpecularGlossiness ") + name,
                            [&] { gltf::setMappedTexture(unarchiver, *reference, slot); });
}

void applyDiffuse(const Payload& payload, Material& material, GLTFUnarchiver& unarchiver) {
    const std::vector<float> factor =
        factorOf(payload._diffuseFactor, {1, 1, 1, 1}, "diffuseFactor");
    const bool textured = setTextureOrLeaveOut(payload.diffuseTexture, material.diffuse(),
                                               unarchiver, "diffuseTexture");
    if (!textured) {
        material.diffuse().contents = gltf::colorOf(factor);
    }
    scene::setColorFactor(material, scene::material_keys::diffuseFactor,
                          uniformFactor(factor, textured));
}

// The name of the shader modifier that suits the specular source.
const char* applySpecularGlossiness(const Payload& payload, Material& material,
                                    GLTFUnarchiver& unarchiver) {
    const std::vector<float> specular =
        factorOf(payload._specularFactor, {1, 1, 1}, "specularFactor");
    const float glossiness = payload._glossinessFactor.value_or(1);
    const bool textured =
        setTextureOrLeaveOut(payload.specularGlossinessTexture, material.multiply(), unarchiver,
                             "specularGlossinessTexture");
    if (!textured) {
        material.specular().contents =
            scene::Color{specular[0], specular[1], specular[2], glossiness};
    }
    scene::setColorFactor(material, scene::material_keys::specularFactor,
                          uniformFactor(specular, textured));
    scene::setNamedNumber(material, scene::material_keys::glossinessFactor,
                          textured ? glossiness : 1.0);
    return textured
               ? "GLTFShaderModifierSurface_pbrSpecularGlossiness_texture_doubleSidedWorkaround"
               : "GLTFShaderModifierSurface_pbrSpecularGlossiness";
}

} // namespace

// Replaces every shader modifier the core material had, those of its alpha mode included.
void GLTFKHRMaterialsPbrSpecularGlossiness_GLTFKHRMaterialsPbrSpecularGlossinessExtension::onLoaded(
    const GLTFLoadedObject& object, GLTFUnarchiver& unarchiver) const {
    const auto* material = std::any_cast<std::shared_ptr<Material>>(&object);
    if (!data || material == nullptr) {
        return;
    }
    (*material)->lightingModel = scene::LightingModel::physicallyBased;
    applyDiffuse(*data, **material, unarchiver);
    const char* shaderName = applySpecularGlossiness(*data, **material, unarchiver);
    (*material)->shaderModifiers = {
        {scene::ShaderEntryPoint::surface, std::string(gltf::shaderModifier(shaderName))}};
}
