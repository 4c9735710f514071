#pragma once

#include <GLTFReader/GLTFCodable.h>
#include <GLTFReader/GLTFTexture.h>
#include <optional>
#include <vector>

struct GLTFKHRMaterialsPbrSpecularGlossiness_GLTFKHRMaterialsPbrSpecularGlossiness {
    std::optional<std::vector<float>> _diffuseFactor;
    std::optional<GLTFTextureInfo> diffuseTexture;
    std::optional<std::vector<float>> _specularFactor;
    std::optional<float> _glossinessFactor;
    std::optional<GLTFTextureInfo> specularGlossinessTexture;

    static GLTFKHRMaterialsPbrSpecularGlossiness_GLTFKHRMaterialsPbrSpecularGlossiness
    decode(const gltf::JsonObject& json);
};

struct GLTFKHRMaterialsPbrSpecularGlossiness_GLTFKHRMaterialsPbrSpecularGlossinessExtension
    : GLTFExtensionValue {
    static constexpr const char* extensionName = "KHR_materials_pbrSpecularGlossiness";

    std::optional<GLTFKHRMaterialsPbrSpecularGlossiness_GLTFKHRMaterialsPbrSpecularGlossiness> data;

    // On a material: turns it into a specular-glossiness one whose surface a shader modifier
    // computes. Other objects are left alone. A texture that cannot be loaded, or a factor
    // shorter than its colour, fails the material as it would in the core material.
    void onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver& unarchiver) const override;

    static GLTFKHRMaterialsPbrSpecularGlossiness_GLTFKHRMaterialsPbrSpecularGlossinessExtension
    decode(const gltf::JsonObject& extensions);
};
