#include "KHRMaterialsIor.h"

#include "MaterialExtension.h"

#include <GLTFReader/GLTFUnarchiveError.h>
#include <GLTFReader/JsonDecoder.h>
#include <string>

namespace gltf::extensions {

IndexOfRefraction IndexOfRefraction::decode(const gltf::JsonObject& json) {
    return {.ior = json.optional<float>("ior")};
}

KHRMaterialsIor KHRMaterialsIor::decode(const gltf::JsonObject& extensions) {
    KHRMaterialsIor result;
    result.data = extensions.optional<IndexOfRefraction>(extensionName);
    return result;
}

void KHRMaterialsIor::onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver&) const {
    scene::Material* material = loadedMaterial(object);
    if (!data || material == nullptr) {
        return;
    }
    const float ior = data->ior.value_or(1.5f);
    if (ior != 0 && ior < 1) {
        throw GLTFUnarchiveError::dataInconsistent("loadMaterial: KHR_materials_ior " +
                                                   std::to_string(ior) +
                                                   " is neither 0 nor 1 or more");
    }
    scene::setNamedNumber(*material, scene::material_keys::indexOfRefraction, ior);
}

} // namespace gltf::extensions
