#include "extensions/GLTFKHRMaterialsCommon.h"

#include <GLTFReader/JsonDecoder.h>

MaterialsCommon MaterialsCommon::decode(const gltf::JsonObject& json) {
    using Floats = std::vector<float>;
    return {
        ._ambient = json.optional<Floats>("ambient"),
        ._diffuse = json.optional<Floats>("diffuse"),
        ._emission = json.optional<Floats>("emission"),
        ._specular = json.optional<Floats>("specuar"),
        ._shininess = json.optional<Floats>("shininess"),
        ._transparency = json.optional<Floats>("transparency"),
    };
}

GLTFKHRMaterialsCommon_GLTFKHRMaterialsCommon
GLTFKHRMaterialsCommon_GLTFKHRMaterialsCommon::decode(const gltf::JsonObject& json) {
    return {
        ._doubleSided = json.optional<bool>("doubleSided"),
        .technique = json.required<std::string>("technique"),
        ._transparent = json.optional<bool>("transparent"),
        .values = json.required<MaterialsCommon>("values"),
        .name = json.optional<std::string>("name"),
    };
}

GLTFKHRMaterialsCommon_GLTFKHRMaterialsCommonExtension
GLTFKHRMaterialsCommon_GLTFKHRMaterialsCommonExtension::decode(const gltf::JsonObject& extensions) {
    GLTFKHRMaterialsCommon_GLTFKHRMaterialsCommonExtension result;
    result.data = extensions.optional<GLTFKHRMaterialsCommon_GLTFKHRMaterialsCommon>(extensionName);
    return result;
}
