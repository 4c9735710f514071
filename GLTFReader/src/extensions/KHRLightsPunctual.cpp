#include "KHRLightsPunctual.h"

#include "ExtensionRecord.h"

#include <GLTFReader/GLTFUnarchiveError.h>
#include <GLTFReader/GLTFUnarchiver.h>
#include <GLTFReader/IndexCache.h>
#include <GLTFReader/JsonDecoder.h>
#include <SceneGraph/Light.h>
#include <SceneGraph/Node.h>
#include <any>
#include <numbers>

namespace gltf::extensions {
namespace {

[[noreturn]] void refuse(std::int64_t index, const std::string& problem) {
    throw GLTFUnarchiveError::dataInconsistent("loadLight: KHR_lights_punctual light " +
                                               std::to_string(index) + " " + problem);
}

scene::LightType lightTypeOf(const std::string& type, std::int64_t index) {
    if (type == "directional") {
        return scene::LightType::directional;
    }
    if (type == "point") {
        return scene::LightType::point;
    }
    if (type == "spot") {
        return scene::LightType::spot;
    }
    refuse(index, "has type \"" + type + "\", which is not directional, point or spot");
}

// Written as `!(x >= 0)` so that a NaN fails too.
void requireNonNegative(std::optional<float> value, const char* member, std::int64_t index) {
    if (value && !(*value >= 0)) {
        refuse(index, std::string("has a negative ") + member + ": " + std::to_string(*value));
    }
}

scene::Color colorOf(const std::optional<std::vector<float>>& color, std::int64_t index) {
    if (!color) {
        return scene::Color::white(1);
    }
    if (color->size() != 3) {
        refuse(index, "has a color of " + std::to_string(color->size()) + " numbers instead of 3");
    }
    for (const float component : *color) {
        requireNonNegative(component, "color component", index);
    }
    return {(*color)[0], (*color)[1], (*color)[2]};
}

// The angles are compared in single precision, as they were read: π/2 written out in full
// reads as a float a hair above the double π/2 and must still count as π/2.
void setConeAngles(const std::optional<PunctualLightSpot>& spot, std::int64_t index,
                   scene::Light& light) {
    if (!spot) {
        refuse(index, "is a spot light without spot");
    }
    const float inner = spot->innerConeAngle.value_or(0.0f);
    const float outer = spot->outerConeAngle.value_or(std::numbers::pi_v<float> / 4);
    if (!(inner >= 0 && inner < outer && outer <= std::numbers::pi_v<float> / 2)) {
        refuse(index, "has cone angles " + std::to_string(inner) + " and " + std::to_string(outer) +
                          " outside 0 <= inner < outer <= pi/2");
    }
    light.innerConeAngle = inner;
    light.outerConeAngle = outer;
}

std::shared_ptr<scene::Light> buildLight(const PunctualLight& record, std::int64_t index) {
    auto light = scene::Light::create();
    light->name = record.name.value_or("");
    light->type = lightTypeOf(record.type, index);
    light->color = colorOf(record.color, index);
    requireNonNegative(record.intensity, "intensity", index);
    light->intensity = record.intensity.value_or(1.0f);
    if (record.range) {
        if (!(*record.range > 0)) {
            refuse(index, "has a range that is not positive: " + std::to_string(*record.range));
        }
        light->range = *record.range;
    }
    if (light->type == scene::LightType::spot) {
        setConeAngles(record.spot, index, *light);
    }
    return light;
}

const PunctualLight& documentLight(const GLTFUnarchiver& unarchiver, std::int64_t index) {
    const LightsPunctual* document = extensionData<KHRLightsPunctual>(unarchiver.json().extensions);
    const std::size_t count =
        document != nullptr && document->lights ? document->lights->size() : 0;
    if (index < 0 || static_cast<std::uint64_t>(index) >= count) {
        throw GLTFUnarchiveError::dataInconsistent(outOfIndexMessage("loadLight", index, count));
    }
    return (*document->lights)[static_cast<std::size_t>(index)];
}

} // namespace

PunctualLightSpot PunctualLightSpot::decode(const gltf::JsonObject& json) {
    return {
        .innerConeAngle = json.optional<float>("innerConeAngle"),
        .outerConeAngle = json.optional<float>("outerConeAngle"),
    };
}

PunctualLight PunctualLight::decode(const gltf::JsonObject& json) {
    return {
        .name = json.optional<std::string>("name"),
        .color = json.optional<std::vector<float>>("color"),
        .intensity = json.optional<float>("intensity"),
        .type = json.required<std::string>("type"),
        .range = json.optional<float>("range"),
        .spot = json.optional<PunctualLightSpot>("spot"),
    };
}

LightsPunctual LightsPunctual::decode(const gltf::JsonObject& json) {
    return {
        .lights = json.optional<std::vector<PunctualLight>>("lights"),
        .light = json.optional<std::int64_t>("light"),
    };
}

KHRLightsPunctual KHRLightsPunctual::decode(const gltf::JsonObject& extensions) {
    KHRLightsPunctual result;
    result.data = extensions.optional<LightsPunctual>(extensionName);
    return result;
}

void KHRLightsPunctual::onLoaded(const GLTFLoadedObject& object, GLTFUnarchiver& unarchiver) const {
    const auto* node = std::any_cast<std::shared_ptr<scene::Node>>(&object);
    if (node == nullptr || !data || !data->light) {
        return;
    }
    const std::int64_t index = *data->light;
    (*node)->setLight(buildLight(documentLight(unarchiver, index), index));
}

} // namespace gltf::extensions
