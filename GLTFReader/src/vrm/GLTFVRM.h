#pragma once

#include "vrm/GLTFVRMBlendShape.h"
#include "vrm/GLTFVRMFirstPerson.h"
#include "vrm/GLTFVRMHumanoid.h"
#include "vrm/GLTFVRMSecondaryAnimation.h"

#include <GLTFReader/GLTFCodable.h>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Avatar metadata and usage permissions, kept as the free text the file carries. The usage
// keys are spelled "…UssageName" in avatar files.
struct GLTFVRM_GLTFVRMMeta {
    std::optional<std::string> title;
    std::optional<std::string> version;
    std::optional<std::string> author;
    std::optional<std::string> contactInformation;
    std::optional<std::string> reference;
    std::optional<std::int64_t> texture;
    std::optional<std::string> allowedUserName;
    std::optional<std::string> violentUssageName;
    std::optional<std::string> sexualUssageName;
    std::optional<std::string> commercialUssageName;
    std::optional<std::string> otherPermissionUrl;
    std::optional<std::string> licenseName;
    std::optional<std::string> otherLicenseUrl;

    static GLTFVRM_GLTFVRMMeta decode(const gltf::JsonObject& json);
};

// Members a file leaves out keep the defaults written here (see GLTFVRMHumanoid.h); a render
// queue of -1 leaves the order to the shader.
struct GLTFVRM_GLTFVRMMaterialProperties {
    std::string name;
    std::string shader;
    std::int64_t renderQueue = -1;
    std::map<std::string, float> floatProperties;
    std::map<std::string, std::vector<float>> vectorProperties;
    std::map<std::string, std::int64_t> textureProperties;
    std::map<std::string, bool> keywordMap;
    std::map<std::string, std::string> tagMap;

    static GLTFVRM_GLTFVRMMaterialProperties decode(const gltf::JsonObject& json);
};

struct GLTFVRM_VRM {
    std::optional<std::string> exportVersion;
    GLTFVRM_GLTFVRMMeta meta;
    GLTFVRM_GLTFVRMHumanoid humanoid;
    GLTFVRM_GLTFVRMFirstperson firstPerson;
    GLTFVRM_GLTFVRMBlendShapeMaster blendShapeMaster;
    GLTFVRM_GLTFVRMSecondaryAnimation secondaryAnimation;
    std::vector<GLTFVRM_GLTFVRMMaterialProperties> materialProperties;

    static GLTFVRM_VRM decode(const gltf::JsonObject& json);
};

struct GLTFVRM_GLTFVRMExtension : GLTFExtensionValue {
    static constexpr const char* extensionName = "VRM";

    std::optional<GLTFVRM_VRM> data;

    static GLTFVRM_GLTFVRMExtension decode(const gltf::JsonObject& extensions);

    // On a loaded scene: stores the avatar's metadata, humanoid map and blend-shape table,
    // applies the unlit material settings and registers the spring bones (see VRMHost.h for
    // how a host uses them). Objects of other kinds are left alone.
    void onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver& unarchiver) const override;
};
