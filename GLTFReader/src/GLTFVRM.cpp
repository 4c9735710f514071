#include <GLTFReader/GLTFVRM.h>
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
    return {
        .name = json.required<std::string>("name"),
        .shader = json.required<std::string>("shader"),
        .renderQueue = json.required<std::int64_t>("renderQueue"),
        .floatProperties = json.required<std::map<std::string, float>>("floatProperties"),
        .vectorProperties =
            json.required<std::map<std::string, std::vector<float>>>("vectorProperties"),
        .textureProperties =
            json.required<std::map<std::string, std::int64_t>>("textureProperties"),
        .keywordMap = json.required<std::map<std::string, bool>>("keywordMap"),
        .tagMap = json.required<std::map<std::string, std::string>>("tagMap"),
    };
}

GLTFVRM_VRM GLTFVRM_VRM::decode(const gltf::JsonObject& json) {
    return {
        .exportVersion = json.optional<std::string>("exportVersion"),
        .meta = json.required<GLTFVRM_GLTFVRMMeta>("meta"),
        .humanoid = json.required<GLTFVRM_GLTFVRMHumanoid>("humanoid"),
        .firstPerson = json.required<GLTFVRM_GLTFVRMFirstperson>("firstPerson"),
        .blendShapeMaster = json.required<GLTFVRM_GLTFVRMBlendShapeMaster>("blendShapeMaster"),
        .secondaryAnimation =
            json.required<GLTFVRM_GLTFVRMSecondaryAnimation>("secondaryAnimation"),
        .materialProperties =
            json.required<std::vector<GLTFVRM_GLTFVRMMaterialProperties>>("materialProperties"),
    };
}

GLTFVRM_GLTFVRMExtension GLTFVRM_GLTFVRMExtension::decode(const gltf::JsonObject& extensions) {
    GLTFVRM_GLTFVRMExtension result;
    result.data = extensions.optional<GLTFVRM_VRM>(extensionName);
    return result;
}
