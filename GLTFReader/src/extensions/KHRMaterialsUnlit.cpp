#include "KHRMaterialsUnlit.h"

#include "MaterialExtension.h"

#include <GLTFReader/JsonDecoder.h>

namespace gltf::extensions {

KHRMaterialsUnlit KHRMaterialsUnlit::decode(const gltf::JsonObject& extensions) {
    KHRMaterialsUnlit result;
    result.data = extensions.optional<UnlitMarker>(extensionName);
    return result;
}

void KHRMaterialsUnlit::onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver&) const {
    scene::Material* material = loadedMaterial(object);
    if (!data || material == nullptr) {
        return;
    }
    material->lightingModel = scene::LightingModel::constant;
}

} // namespace gltf::extensions
