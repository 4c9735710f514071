#include "MaterialExtension.h"

#include <string>

namespace gltf::extensions {

void noteLeftOut(scene::Material& material, std::string_view extensionName) {
    std::string list;
    if (const scene::Value* existing = material.namedValue("leftOutFeatures")) {
        if (const std::string* text = existing->as<std::string>()) {
            list = *text + ", ";
        }
    }
    material.setNamedValue("leftOutFeatures", list + std::string(extensionName));
}

} // namespace gltf::extensions
