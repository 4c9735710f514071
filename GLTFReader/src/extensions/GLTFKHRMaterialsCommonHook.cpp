// The classic (non-PBR) technique applied over a finished material.
#include "ExtensionParts.h"
#include "MaterialFactors.h"
#include "extensions/GLTFKHRMaterialsCommon.h"

#include <SceneGraph/Material.h>
#include <memory>
#include <string>

namespace {

using Payload = GLTFKHRMaterialsCommon_GLTFKHRMaterialsCommon;

// Each value is applied on its own: a malformed one is left out, keeping the material's.
class PhongValues {
  public:
    explicit PhongValues(GLTFUnarchiver& unarchiver) : unarchiver_(unarchiver) {}

    // Absent colours are opaque black.
    void setColor(scene::MaterialProperty& slot, const std::optional<std::vector<float>>& color,
                  const char* name) {
        const std::string part = std::string("KHR_materials_common ") + name;
        gltf::applyOrLeaveOut(unarchiver_, part, [&] {
            slot.contents = gltf::colorOf(gltf::factorOrDefault(color, {0, 0, 0, 1}, part));
        });
    }

    void setNumber(double& value, const std::optional<std::vector<float>>& numbers, float fallback,
                   const char* name) {
        const std::string part = std::string("KHR_materials_common ") + name;
        gltf::applyOrLeaveOut(unarchiver_, part,
                              [&] { value = gltf::factorOrDefault(numbers, {fallback}, part)[0]; });
    }

  private:
    GLTFUnarchiver& unarchiver_;
};

void applyPhong(const Payload& payload, scene::Material& material, GLTFUnarchiver& unarchiver) {
    const MaterialsCommon& values = payload.values;
    PhongValues phong(unarchiver);
    material.lightingModel = scene::LightingModel::phong;
    phong.setColor(material.ambient(), values._ambient, "ambient");
    phong.setColor(material.diffuse(), values._diffuse, "diffuse");
    phong.setColor(material.emission(), values._emission, "emission");
    phong.setNumber(material.shininess, values._shininess, 0, "shininess");
    phong.setColor(material.specular(), values._specular, "specuar");
    if (payload._transparent.value_or(false)) {
        phong.setNumber(material.transparency, values._transparency, 1, "transparency");
    }
}

} // namespace

// Any technique but "PHONG" (compared exactly) keeps the core material's shading; the sidedness
// and the name are the extension's in every case, so an absent name clears the material's.
void GLTFKHRMaterialsCommon_GLTFKHRMaterialsCommonExtension::onLoaded(
    const GLTFLoadedObject& object, GLTFUnarchiver& unarchiver) const {
    const auto* material = std::any_cast<std::shared_ptr<scene::Material>>(&object);
    if (!data || material == nullptr) {
        return;
    }
    if (data->technique == "PHONG") {
        applyPhong(*data, **material, unarchiver);
    }
    (*material)->doubleSided = data->_doubleSided.value_or(false);
    (*material)->name = data->name.value_or("");
}
