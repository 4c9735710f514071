#include "vrm/GLTFVRM.h"

#include <GLTFReader/JsonDecoder.h>

GLTFVRM_GLTFVRMMeta GLTFVRM_GLTFVRMMeta::decode(const gltf::JsonObject& json) {
    using Text = std::string;
    return {
        .title = json.optional<Text>("title"),
        .version = json.optional<Text>("version"),
        .author = json.optional<Text>("author"),
        .contactInformation = json.optional<Text>("contactInformation"),
        .reference = json.optional<Text>("reference"),
        .texture = json.optional<std::int64_t>("texture"),
        .allowedUserName = json.optional<Text>("allowedUserName"),
        .violentUssageName = json.optional<Text>("violentUssageName"),
        .sexualUssageName = json.optional<Text>("sexualUssageName"),
        .commercialUssageName = json.optional<Text>("commercialUssageName"),
        .otherPermissionUrl = json.optional<Text>("otherPermissionUrl"),
        .licenseName = json.optional<Text>("licenseName"),
        .otherLicenseUrl = json.optional<Text>("otherLicenseUrl"),
    };
}

GLTFVRM_GLTFVRMMaterialProperties
GLTFVRM_GLTFVRMMaterialProperties::decode(const gltf::JsonObject& json) {
    const GLTFVRM_GLTFVRMMaterialProperties defaults;
    return {
        .name = json.optional("name", defaults.name),
        .shader = json.optional("shader", defaults.shader),
        .renderQueue = json.optional("renderQueue", defaults.renderQueue),
        .floatProperties = json.optional("floatProperties", defaults.floatProperties),
        .vectorProperties = json.optional("vectorProperties", defaults.vectorProperties),
        .textureProperties = json.optional("textureProperties", defaults.textureProperties),
        .keywordMap = json.optional("keywordMap", defaults.keywordMap),
        .tagMap = json.optional("tagMap", defaults.tagMap),
    };
}

GLTFVRM_VRM GLTFVRM_VRM::decode(const gltf::JsonObject& json) {
    const GLTFVRM_VRM defaults;
    return {
        .exportVersion = json.optional<std::string>("exportVersion"),
        .meta = json.optional("meta", defaults.meta),
        .humanoid = json.optional("humanoid", defaults.humanoid),
        .firstPerson = json.optional("firstPerson", defaults.firstPerson),
        .blendShapeMaster = json.optional("blendShapeMaster", defaults.blendShapeMaster),
        .secondaryAnimation = json.optional("secondaryAnimation", defaults.secondaryAnimation),
        .materialProperties = json.optional("materialProperties", defaults.materialProperties),
    };
}

GLTFVRM_GLTFVRMExtension GLTFVRM_GLTFVRMExtension::decode(const gltf::JsonObject& extensions) {
    GLTFVRM_GLTFVRMExtension result;
    result.data = extensions.optional<GLTFVRM_VRM>(extensionName);
    return result;
}
