#pragma once

#include <GLTFReader/GLTFExtension.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gltf::extensions {

struct PunctualLightSpot {
    std::optional<float> innerConeAngle;
    std::optional<float> outerConeAngle;

    static PunctualLightSpot decode(const gltf::JsonObject& json);
};

// One entry of the document's light list.
struct PunctualLight {
    std::optional<std::string> name;
    std::optional<std::vector<float>> color;
    std::optional<float> intensity;
    std::string type;
    std::optional<float> range;
    std::optional<PunctualLightSpot> spot;

    static PunctualLight decode(const gltf::JsonObject& json);
};

// The document carries the light list; a node carries the index of the light it holds.
struct LightsPunctual {
    std::optional<std::vector<PunctualLight>> lights;
    std::optional<std::int64_t> light;

    static LightsPunctual decode(const gltf::JsonObject& json);
};

// Directional, point and spot lights attached to nodes. A node's light is built when the node
// is loaded, from the document's list; lights no node uses are never built. Light data that
// cannot describe a light (an unknown type, negative intensity or range, a colour of other
// than three non-negative numbers, cone angles outside 0 ≤ inner < outer ≤ π/2) is refused.
struct KHRLightsPunctual : GLTFExtensionValue {
    static constexpr const char* extensionName = "KHR_lights_punctual";

    std::optional<LightsPunctual> data;

    void onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver& unarchiver) const override;

    static KHRLightsPunctual decode(const gltf::JsonObject& extensions);
};

} // namespace gltf::extensions
