#pragma once

#include <SceneGraph/MaterialProperty.h>
#include <SceneGraph/Value.h>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace scene {

enum class LightingModel { blinn, constant, lambert, phong, physicallyBased, shadowOnly };

/// Every slot a material has; `Material::property(slot)` reaches each one.
enum class MaterialSlot {
    diffuse,
    ambient,
    specular,
    emission,
    transparent,
    reflective,
    multiply,
    normal,
    displacement,
    ambientOcclusion,
    selfIllumination,
    metalness,
    roughness,
};
inline constexpr std::size_t materialSlotCount = 13;

enum class BlendMode {
    alpha = 0,
    add = 1,
    subtract = 2,
    multiply = 3,
    screen = 4,
    replace = 5,
    max = 6
};
enum class CullMode { back = 0, front = 1 };

/// Where a shader modifier is inserted.
enum class ShaderEntryPoint { geometry, surface, lightingModel, fragment };

std::string_view lightingModelName(LightingModel model);
std::string_view materialSlotName(MaterialSlot slot);
std::string_view blendModeName(BlendMode mode);
std::string_view cullModeName(CullMode mode);
std::string_view shaderEntryPointName(ShaderEntryPoint entryPoint);

/// How a surface looks. Settings are plain public fields; slots are reached by name
/// (`diffuse()`) or by `MaterialSlot`.
///
/// A new material uses the Blinn lighting model, a white diffuse colour and no contents in any
/// other slot; it is single-sided, culls back faces, blends with alpha and writes depth.
class Material {
  public:
    static std::shared_ptr<Material> create() { return std::make_shared<Material>(); }
    Material();

    std::string name;
    LightingModel lightingModel = LightingModel::blinn;
    bool doubleSided = false;
    CullMode cullMode = CullMode::back;
    BlendMode blendMode = BlendMode::alpha;
    bool writesToDepthBuffer = true;
    bool readsFromDepthBuffer = true;
    /// 1 is opaque.
    double transparency = 1.0;
    double shininess = 1.0;
    std::map<ShaderEntryPoint, std::string> shaderModifiers;
    /// Values the shader modifiers read as uniforms, by name ("baseColorFactorR" …).
    ValueDictionary namedValues;

    MaterialProperty& property(MaterialSlot slot) { return slots_[static_cast<std::size_t>(slot)]; }
    const MaterialProperty& property(MaterialSlot slot) const {
        return slots_[static_cast<std::size_t>(slot)];
    }

    MaterialProperty& diffuse() { return property(MaterialSlot::diffuse); }
    MaterialProperty& ambient() { return property(MaterialSlot::ambient); }
    MaterialProperty& specular() { return property(MaterialSlot::specular); }
    MaterialProperty& emission() { return property(MaterialSlot::emission); }
    MaterialProperty& transparent() { return property(MaterialSlot::transparent); }
    MaterialProperty& reflective() { return property(MaterialSlot::reflective); }
    MaterialProperty& multiply() { return property(MaterialSlot::multiply); }
    MaterialProperty& normal() { return property(MaterialSlot::normal); }
    MaterialProperty& displacement() { return property(MaterialSlot::displacement); }
    MaterialProperty& ambientOcclusion() { return property(MaterialSlot::ambientOcclusion); }
    MaterialProperty& selfIllumination() { return property(MaterialSlot::selfIllumination); }
    MaterialProperty& metalness() { return property(MaterialSlot::metalness); }
    MaterialProperty& roughness() { return property(MaterialSlot::roughness); }

    /// A named value, or null when none is set under `key`.
    const Value* namedValue(std::string_view key) const;
    void setNamedValue(std::string key, Value value);

  private:
    std::array<MaterialProperty, materialSlotCount> slots_;
};

} // namespace scene
