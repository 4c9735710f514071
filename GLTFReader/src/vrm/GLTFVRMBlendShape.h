#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gltf {
class JsonObject;
class JsonValue;
} // namespace gltf

// Members a file leaves out keep the defaults written here (see GLTFVRMHumanoid.h).
struct GLTFVRM_GLTFVRMBind {
    std::int64_t mesh = -1;
    // Morph-target index within that mesh.
    std::int64_t index = -1;
    float weight = 0;

    static GLTFVRM_GLTFVRMBind decode(const gltf::JsonObject& json);
};

// Material animations of a blend shape are not supported; any JSON value is accepted here and
// nothing of it is kept.
struct GLTFVRM_GLTFVRMMaterialValue {
    static GLTFVRM_GLTFVRMMaterialValue decode(const gltf::JsonValue& json);
};

struct GLTFVRM_GLTFVRMBlendShapeGroup {
    std::string name;
    std::string presetName = "unknown";
    std::vector<GLTFVRM_GLTFVRMBind> binds;
    std::vector<GLTFVRM_GLTFVRMMaterialValue> materialValues;

    static GLTFVRM_GLTFVRMBlendShapeGroup decode(const gltf::JsonObject& json);
};

struct GLTFVRM_GLTFVRMBlendShapeMaster {
    std::vector<GLTFVRM_GLTFVRMBlendShapeGroup> blendShapeGroups;

    static GLTFVRM_GLTFVRMBlendShapeMaster decode(const gltf::JsonObject& json);
};
