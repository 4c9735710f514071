#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <optional>

namespace gltf::extensions {

struct IndexOfRefraction {
    std::optional<float> ior;

    static IndexOfRefraction decode(const gltf::JsonObject& json);
};

// The surface's index of refraction (1.5 when absent), kept as the named value "ior". The
// extension allows 0 (a limit meaning full reflection) and any number of 1 or more; others
// are refused.
struct KHRMaterialsIor : GLTFExtensionValue {
    static constexpr const char* extensionName = "KHR_materials_ior";

    std::optional<IndexOfRefraction> data;

    void onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver& unarchiver) const override;

    static KHRMaterialsIor decode(const gltf::JsonObject& extensions);
};

} // namespace gltf::extensions
