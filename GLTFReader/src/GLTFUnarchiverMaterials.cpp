// Materials in the metallic-roughness model: colours and factors, the five texture slots,
// double-sidedness, the alpha mode and the shader modifiers that read the named values.
#include "DocumentRecords.h"
#include "MaterialFactors.h"
#include "MaterialTextures.h"
#include "ShaderModifiers.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <SceneGraph/MaterialContract.h>
#include <array>

namespace {

using scene::Material;

// Uniforms of the shader modifiers. A factor replaces its neutral value only where a texture
// fills the slot; without one the factor is the slot's colour itself.
void setInitialNamedValues(const GLTFMaterial& record, Material& material) {
    using namespace scene::material_keys;
    scene::setColorFactor(material, baseColorFactor, std::array{1.0, 1.0, 1.0, 1.0});
    scene::setNamedNumber(material, metallicFactor, 1.0);
    scene::setNamedNumber(material, roughnessFactor, 1.0);
    const std::vector<float> emissive =
        gltf::factorOrDefault(record._emissiveFactor, {0, 0, 0}, "emissiveFactor");
    scene::setColorFactor(material, emissiveFactor, emissive);
}

void applyBaseColor(const GLTFMaterialPbrMetallicRoughness& pbr, Material& material,
                    GLTFUnarchiver& unarchiver) {
    const std::vector<float> factor =
        gltf::factorOrDefault(pbr._baseColorFactor, {1, 1, 1, 1}, "baseColorFactor");
    material.diffuse().contents = gltf::colorOf(factor);
    if (!pbr.baseColorTexture) {
        return;
    }
    gltf::setMappedTexture(unarchiver, *pbr.baseColorTexture, material.diffuse());
    scene::setColorFactor(material, scene::material_keys::baseColorFactor, factor);
}

// One image carries both: metalness in its blue channel, roughness in its green one.
void applyMetallicRoughness(const GLTFMaterialPbrMetallicRoughness& pbr, Material& material,
                            GLTFUnarchiver& unarchiver) {
    const float metallic = pbr._metallicFactor.value_or(1);
    const float roughness = pbr._roughnessFactor.value_or(1);
    material.metalness().contents = scene::Color::white(metallic);
    material.roughness().contents = scene::Color::white(roughness);
    if (!pbr.metallicRoughnessTexture) {
        return;
    }
    gltf::setMappedTexture(unarchiver, *pbr.metallicRoughnessTexture, material.metalness());
    gltf::setMappedTexture(unarchiver, *pbr.metallicRoughnessTexture, material.roughness());
    material.metalness().textureComponents = scene::ColorComponents::blue;
    material.roughness().textureComponents = scene::ColorComponents::green;
    scene::setNamedNumber(material, scene::material_keys::metallicFactor, metallic);
    scene::setNamedNumber(material, scene::material_keys::roughnessFactor, roughness);
}

void applyPhysicallyBasedBase(const GLTFMaterialPbrMetallicRoughness& pbr, Material& material,
                              GLTFUnarchiver& unarchiver) {
    material.lightingModel = scene::LightingModel::physicallyBased;
    applyBaseColor(pbr, material, unarchiver);
    applyMetallicRoughness(pbr, material, unarchiver);
}

// The normal map's scale is not applied.
void applyDetailTextures(const GLTFMaterial& record, Material& material,
                         GLTFUnarchiver& unarchiver) {
    if (record.normalTexture) {
        gltf::setMappedTexture(unarchiver, *record.normalTexture, material.normal());
    }
    if (record.occlusionTexture) {
        gltf::setMappedTexture(unarchiver, *record.occlusionTexture, material.ambientOcclusion());
        material.ambientOcclusion().intensity = record.occlusionTexture->_strength.value_or(1);
    }
    if (record.emissiveTexture) {
        if (material.lightingModel == scene::LightingModel::physicallyBased) {
            material.selfIllumination().clearContents();
        }
        gltf::setMappedTexture(unarchiver, *record.emissiveTexture, material.emission());
    }
}

std::string shaderText(const char* name) {
    return std::string(gltf::shaderModifier(name));
}

// Compared exactly: "mask" is not "MASK".
void applyAlphaMode(const GLTFMaterial& record, Material& material) {
    using scene::ShaderEntryPoint;
    material.shaderModifiers = {
        {ShaderEntryPoint::surface, shaderText("GLTFShaderModifierSurface")}};
    const std::string mode = record._alphaMode.value_or("OPAQUE");
    if (mode == "OPAQUE") {
        material.blendMode = scene::BlendMode::replace;
    } else if (mode == "BLEND") {
        material.blendMode = scene::BlendMode::alpha;
        material.writesToDepthBuffer = false;
        material.shaderModifiers[ShaderEntryPoint::surface] =
            shaderText("GLTFShaderModifierSurface_alphaModeBlend");
    } else if (mode == "MASK") {
        material.shaderModifiers[ShaderEntryPoint::fragment] =
            shaderText("GLTFShaderModifierFragment_alphaCutoff");
        scene::setCutoutThreshold(material, record._alphaCutoff.value_or(0.5f));
    } else {
        throw GLTFUnarchiveError::notSupported("loadMaterial: alphaMode " + mode +
                                               " is not supported");
    }
}

void completeMaterial(const GLTFMaterial& record, Material& material, GLTFUnarchiver& unarchiver) {
    material.name = record.name.value_or("");
    setInitialNamedValues(record, material);
    if (record.pbrMetallicRoughness) {
        applyPhysicallyBasedBase(*record.pbrMetallicRoughness, material, unarchiver);
    }
    applyDetailTextures(record, material, unarchiver);
    material.doubleSided = record._doubleSided.value_or(false);
    applyAlphaMode(record, material);
}

} // namespace

// The material is kept before it is complete: a failure further on aborts the whole scene, and
// the slot then holds the material as far as it got.
std::shared_ptr<scene::Material> GLTFUnarchiver::loadMaterial(std::int64_t index) {
    const GLTFMaterial* record = nullptr;
    return caches_.materials.load(
        index, "loadMaterial",
        [&] {
            record = &gltf::documentRecord(json_.materials, index,
                                           "loadMaterials: materials it not defined");
            return Material::create();
        },
        [&](const std::shared_ptr<Material>& material) {
            completeMaterial(*record, *material, *this);
            gltf::onLoaded(*record, material, *this);
        });
}
