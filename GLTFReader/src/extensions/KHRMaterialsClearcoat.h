#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <GLTFReader/GLTFMaterial.h>
#include <optional>

namespace gltf::extensions {

struct Clearcoat {
    std::optional<float> clearcoatFactor;
    std::optional<GLTFTextureInfo> clearcoatTexture;
    std::optional<float> clearcoatRoughnessFactor;
    std::optional<GLTFTextureInfo> clearcoatRoughnessTexture;
    std::optional<GLTFMaterialNormalTextureInfo> clearcoatNormalTexture;

    static Clearcoat decode(const gltf::JsonObject& json);
};

// A clear lacquer over the surface: its strength and roughness factors become the named
// values "clearcoatFactor" and "clearcoatRoughnessFactor" (both 0 when absent). Its three
// textures have no place in a material and are noted as left out.
struct KHRMaterialsClearcoat : GLTFExtensionValue {
    static constexpr const char* extensionName = "KHR_materials_clearcoat";

    std::optional<Clearcoat> data;

    void onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver& unarchiver) const override;

    static KHRMaterialsClearcoat decode(const gltf::JsonObject& extensions);
};

} // namespace gltf::extensions
