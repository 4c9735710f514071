#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <optional>

namespace gltf::extensions {

// The extension's object has no members; its presence is the whole message.
struct UnlitMarker {
    static UnlitMarker decode(const gltf::JsonObject&) { return {}; }
};

// A surface that shows its base colour as it is, whatever the lights: the material gets the
// constant lighting model, which the package writes as emitted base colour over a black,
// rough, non-metallic surface (how AR viewers show unlit surfaces).
struct KHRMaterialsUnlit : GLTFExtensionValue {
    static constexpr const char* extensionName = "KHR_materials_unlit";

    std::optional<UnlitMarker> data;

    void onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver& unarchiver) const override;

    static KHRMaterialsUnlit decode(const gltf::JsonObject& extensions);
};

} // namespace gltf::extensions
