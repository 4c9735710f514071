#include "KHRMaterialsEmissiveStrength.h"

#include "MaterialExtension.h"

#include <GLTFReader/GLTFUnarchiveError.h>
#include <GLTFReader/JsonDecoder.h>
#include <SceneGraph/MaterialContract.h>
#include <array>
#include <string>

namespace gltf::extensions {

EmissiveStrength EmissiveStrength::decode(const gltf::JsonObject& json) {
    return {.emissiveStrength = json.optional<float>("emissiveStrength")};
}

KHRMaterialsEmissiveStrength
KHRMaterialsEmissiveStrength::decode(const gltf::JsonObject& extensions) {
    KHRMaterialsEmissiveStrength result;
    result.data = extensions.optional<EmissiveStrength>(extensionName);
    return result;
}

void KHRMaterialsEmissiveStrength::onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver&) const {
    scene::Material* material = loadedMaterial(object);
    if (!data || material == nullptr) {
        return;
    }
    const float strength = data->emissiveStrength.value_or(1);
    if (strength < 0) {
        throw GLTFUnarchiveError::dataInconsistent(
            "loadMaterial: KHR_materials_emissive_strength " + std::to_string(strength) +
            " is negative");
    }
    using scene::material_keys::emissiveFactor;
    const std::array<double, 4> factor = scene::colorFactor(*material, emissiveFactor, 0.0);
    scene::setColorFactor(
        *material, emissiveFactor,
        std::array{factor[0] * strength, factor[1] * strength, factor[2] * strength});
}

} // namespace gltf::extensions
