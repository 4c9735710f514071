// The specular-glossiness model applied over a finished material: a diffuse colour or texture,
// a specular colour with glossiness or their packed texture in the multiply slot, and the
// shader modifier that computes the surface from them.
#include "ExtensionParts.h"
#include "MaterialFactors.h"
#include "MaterialTextures.h"

#include <GLTFReader/GLTFKHRMaterialsPbrSpecularGlossiness.h>
#include <GLTFReader/ShaderModifiers.h>
#include <SceneGraph/Material.h>
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
void setNamedNumbers(Material& material, std::initializer_list<const char*> keys,
                     const std::vector<float>& numbers, bool textured) {
    std::size_t at = 0;
    for (const char* key : keys) {
        material.setNamedValue(key, textured ? numbers[at++] : 1.0);
    }
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
    setNamedNumbers(material,
                    {"diffuseFactorR", "diffuseFactorG", "diffuseFactorB", "diffuseFactorA"},
                    factor, textured);
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
    setNamedNumbers(material,
                    {"specularFactorR", "specularFactorG", "specularFactorB", "glossinessFactor"},
                    {specular[0], specular[1], specular[2], glossiness}, textured);
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
