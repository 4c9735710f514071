// The classic (non-PBR) technique applied over a finished material.
#include "MaterialFactors.h"

#include <GLTFReader/GLTFKHRMaterialsCommon.h>
#include <SceneGraph/Material.h>
#include <memory>
#include <string>

namespace {

using Payload = GLTFKHRMaterialsCommon_GLTFKHRMaterialsCommon;

// Absent colours are opaque black.
scene::Color colorValue(const std::optional<std::vector<float>>& color, const char* name) {
    return gltf::colorOf(
        gltf::factorOrDefault(color, {0, 0, 0, 1}, std::string("KHR_materials_common ") + name));
}

float firstNumber(const std::optional<std::vector<float>>& numbers, float fallback,
                  const char* name) {
    return gltf::factorOrDefault(numbers, {fallback},
                                 std::string("KHR_materials_common ") + name)[0];
}

void applyPhong(const Payload& payload, scene::Material& material) {
    const MaterialsCommon& values = payload.values;
    material.lightingModel = scene::LightingModel::phong;
    material.ambient().contents = colorValue(values._ambient, "ambient");
    material.diffuse().contents = colorValue(values._diffuse, "diffuse");
    material.emission().contents = colorValue(values._emission, "emission");
    material.shininess = firstNumber(values._shininess, 0, "shininess");
    material.specular().contents = colorValue(values._specular, "specuar");
    if (payload._transparent.value_or(false)) {
        material.transparency = firstNumber(values._transparency, 1, "transparency");
    }
}

} // namespace

// Any technique but "PHONG" (compared exactly) keeps the core material's shading; the sidedness
// and the name are the extension's in every case, so an absent name clears the material's.
void GLTFKHRMaterialsCommon_GLTFKHRMaterialsCommonExtension::onLoaded(
    const GLTFLoadedObject& object, GLTFUnarchiver&) const {
    const auto* material = std::any_cast<std::shared_ptr<scene::Material>>(&object);
    if (!data || material == nullptr) {
        return;
    }
    if (data->technique == "PHONG") {
        applyPhong(*data, **material);
    }
    (*material)->doubleSided = data->_doubleSided.value_or(false);
    (*material)->name = data->name.value_or("");
}
