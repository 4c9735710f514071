#include "extensions/GLTFKHRMaterialsPbrSpecularGlossiness.h"

#include <GLTFReader/JsonDecoder.h>

using Payload = GLTFKHRMaterialsPbrSpecularGlossiness_GLTFKHRMaterialsPbrSpecularGlossiness;
using Wrapper =
    GLTFKHRMaterialsPbrSpecularGlossiness_GLTFKHRMaterialsPbrSpecularGlossinessExtension;

Payload Payload::decode(const gltf::JsonObject& json) {
    return {
        ._diffuseFactor = json.optional<std::vector<float>>("diffuseFactor"),
        .diffuseTexture = json.optional<GLTFTextureInfo>("diffuseTexture"),
        ._specularFactor = json.optional<std::vector<float>>("specularFactor"),
        ._glossinessFactor = json.optional<float>("glossinessFactor"),
        .specularGlossinessTexture = json.optional<GLTFTextureInfo>("specularGlossinessTexture"),
    };
}

Wrapper Wrapper::decode(const gltf::JsonObject& extensions) {
    Wrapper result;
    result.data = extensions.optional<Payload>(extensionName);
    return result;
}
