#include "LeftOutMaterialExtensions.h"

#include "MaterialExtension.h"

#include <GLTFReader/JsonDecoder.h>

namespace gltf::extensions {
namespace {

struct LeftOutMaterialExtension : GLTFExtensionValue {
    std::string name;

    explicit LeftOutMaterialExtension(std::string extensionName) : name(std::move(extensionName)) {}

    void onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver&) const override {
        if (scene::Material* material = loadedMaterial(object)) {
            scene::noteLeftOutFeature(*material, name);
        }
    }
};

GLTFExtensionType leftOutType(const std::string& name) {
    return {
        [name](const gltf::JsonObject& extensions) -> std::shared_ptr<const GLTFExtensionValue> {
            if (!extensions.find(name)) {
                return nullptr;
            }
            return std::make_shared<const LeftOutMaterialExtension>(name);
        }};
}

} // namespace

std::vector<std::pair<std::string, GLTFExtensionType>> leftOutMaterialExtensionEntries() {
    std::vector<std::pair<std::string, GLTFExtensionType>> entries;
    for (const char* name :
         {"KHR_materials_anisotropy", "KHR_materials_dispersion", "KHR_materials_iridescence",
          "KHR_materials_sheen", "KHR_materials_specular", "KHR_materials_transmission",
          "KHR_materials_volume"}) {
        entries.emplace_back(name, leftOutType(name));
    }
    return entries;
}

} // namespace gltf::extensions
