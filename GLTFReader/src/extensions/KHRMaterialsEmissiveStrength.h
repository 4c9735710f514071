#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <optional>

namespace gltf::extensions {

struct EmissiveStrength {
    std::optional<float> emissiveStrength;

    static EmissiveStrength decode(const gltf::JsonObject& json);
};

// Emission brighter than a factor of 1 can say: the strength multiplies the emissive factor
// (the named values the emission is written from). A negative strength is refused.
struct KHRMaterialsEmissiveStrength : GLTFExtensionValue {
    static constexpr const char* extensionName = "KHR_materials_emissive_strength";

    std::optional<EmissiveStrength> data;

    void onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver& unarchiver) const override;

    static KHRMaterialsEmissiveStrength decode(const gltf::JsonObject& extensions);
};

} // namespace gltf::extensions
