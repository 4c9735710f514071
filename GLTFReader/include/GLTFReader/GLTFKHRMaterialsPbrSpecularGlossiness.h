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

    static GLTFKHRMaterialsPbrSpecularGlossiness_GLTFKHRMaterialsPbrSpecularGlossinessExtension
    decode(const gltf::JsonObject& extensions);
};
