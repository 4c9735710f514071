#pragma once

#include <GLTFReader/GLTFCodable.h>
#include <optional>
#include <string>
#include <vector>

namespace gltf {
class JsonObject;
}

// Colours of a classic lighting technique. The specular colour is read from "specuar": files
// written for this extension use that spelling, and "specular" is not read.
struct MaterialsCommon {
    std::optional<std::vector<float>> _ambient;
    std::optional<std::vector<float>> _diffuse;
    std::optional<std::vector<float>> _emission;
    std::optional<std::vector<float>> _specular;
    std::optional<std::vector<float>> _shininess;
    std::optional<std::vector<float>> _transparency;

    static MaterialsCommon decode(const gltf::JsonObject& json);
};

struct GLTFKHRMaterialsCommon_GLTFKHRMaterialsCommon {
    std::optional<bool> _doubleSided;
    std::string technique;
    std::optional<bool> _transparent;
    MaterialsCommon values;
    std::optional<std::string> name;

    static GLTFKHRMaterialsCommon_GLTFKHRMaterialsCommon decode(const gltf::JsonObject& json);
};

struct GLTFKHRMaterialsCommon_GLTFKHRMaterialsCommonExtension : GLTFExtensionValue {
    static constexpr const char* extensionName = "KHR_materials_common";

    std::optional<GLTFKHRMaterialsCommon_GLTFKHRMaterialsCommon> data;

    // On a material: the classic technique's colours, shininess and transparency (for
    // "PHONG"), then double-sidedness and name, for any technique. Other objects are left alone.
    // A colour of fewer than four numbers fails the material like a short core factor does.
    void onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver& unarchiver) const override;

    static GLTFKHRMaterialsCommon_GLTFKHRMaterialsCommonExtension
    decode(const gltf::JsonObject& extensions);
};
