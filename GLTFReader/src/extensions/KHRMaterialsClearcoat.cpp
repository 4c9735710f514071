#include "KHRMaterialsClearcoat.h"

#include "MaterialExtension.h"

#include <GLTFReader/GLTFUnarchiveError.h>
#include <GLTFReader/JsonDecoder.h>
#include <string>

namespace gltf::extensions {
namespace {

double unitFactor(std::optional<float> factor, const char* name) {
    const float value = factor.value_or(0);
    if (!(value >= 0 && value <= 1)) {
        throw GLTFUnarchiveError::dataInconsistent("loadMaterial: KHR_materials_clearcoat " +
                                                   std::string(name) + " " + std::to_string(value) +
                                                   " is not in [0, 1]");
    }
    return value;
}

} // namespace

Clearcoat Clearcoat::decode(const gltf::JsonObject& json) {
    return {
        .clearcoatFactor = json.optional<float>("clearcoatFactor"),
        .clearcoatTexture = json.optional<GLTFTextureInfo>("clearcoatTexture"),
        .clearcoatRoughnessFactor = json.optional<float>("clearcoatRoughnessFactor"),
        .clearcoatRoughnessTexture = json.optional<GLTFTextureInfo>("clearcoatRoughnessTexture"),
        .clearcoatNormalTexture =
            json.optional<GLTFMaterialNormalTextureInfo>("clearcoatNormalTexture"),
    };
}

KHRMaterialsClearcoat KHRMaterialsClearcoat::decode(const gltf::JsonObject& extensions) {
    KHRMaterialsClearcoat result;
    result.data = extensions.optional<Clearcoat>(extensionName);
    return result;
}

void KHRMaterialsClearcoat::onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver&) const {
    scene::Material* material = loadedMaterial(object);
    if (!data || material == nullptr) {
        return;
    }
    using namespace scene::material_keys;
    scene::setNamedNumber(*material, clearcoatFactor,
                          unitFactor(data->clearcoatFactor, "clearcoatFactor"));
    scene::setNamedNumber(*material, clearcoatRoughnessFactor,
                          unitFactor(data->clearcoatRoughnessFactor, "clearcoatRoughnessFactor"));
    if (data->clearcoatTexture || data->clearcoatRoughnessTexture || data->clearcoatNormalTexture) {
        scene::noteLeftOutFeature(*material, "the textures of KHR_materials_clearcoat");
    }
}

} // namespace gltf::extensions
