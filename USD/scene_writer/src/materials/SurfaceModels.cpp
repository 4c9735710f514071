#include "materials/SurfaceSlots.h"
#include "materials/SurfaceVertexColors.h"

#include <SceneGraph/MaterialContract.h>
#include <algorithm>
#include <cmath>

namespace usd::writer {
namespace {

using namespace surface;
namespace material_keys = scene::material_keys;

void setIfNamed(SurfaceDescription& surface, const scene::Material& material, std::string_view key,
                const char* inputName) {
    const scene::Value* value = material.namedValue(key);
    if (const std::optional<double> number = value != nullptr ? value->number() : std::nullopt)
        surface.set(inputName, "float", static_cast<float>(*number));
}

// The clear coat and the index of refraction a material names, into the preview surface's inputs
// of the same meaning; materials without them keep the surface's defaults.
void describeCoatAndRefraction(SurfaceDescription& surface, const scene::Material& material) {
    setIfNamed(surface, material, material_keys::clearcoatFactor, "clearcoat");
    setIfNamed(surface, material, material_keys::clearcoatRoughnessFactor, "clearcoatRoughness");
    setIfNamed(surface, material, material_keys::indexOfRefraction, "ior");
}

// What the reader could not carry into the material, told to the user.
void noteLeftOutFeatures(const scene::Material& material, Notes& notes) {
    if (const std::optional<std::string> features = scene::leftOutFeatures(material))
        notes.push_back("Material \"" + material.name + "\" is shown without " + *features +
                        ", which a preview surface cannot express.");
}

bool isBlinnPhong(const scene::Material& material) {
    using scene::LightingModel;
    return material.lightingModel == LightingModel::blinn ||
           material.lightingModel == LightingModel::phong ||
           material.lightingModel == LightingModel::lambert;
}

// Unlit: the base colour is emitted; nothing else lights the surface. A black surface still
// reflects its surroundings in the metallic workflow (at least 4 % head-on, more at grazing
// angles); the specular workflow with a black specular colour reflects nothing.
BaseColor describeUnlit(SurfaceDescription& surface, const scene::Material& material) {
    std::array<double, 4> factors = scene::colorFactor(material, material_keys::baseColorFactor);
    if (const std::optional<glm::dvec4> color = scene::avatarBaseColor(material))
        factors = {color->x, color->y, color->z, color->w};
    surface.set("diffuseColor", "color3f", Vec3f{0, 0, 0});
    surface.set("useSpecularWorkflow", "int", std::int32_t{1});
    surface.set("specularColor", "color3f", Vec3f{0, 0, 0});
    surface.set("metallic", "float", 0.0f);
    surface.set("roughness", "float", 1.0f);
    return describeBaseColor(surface, material, factors, "emissiveColor");
}

// The specular-glossiness extension: roughness is 1 − glossiness, baked into an image when the
// glossiness comes from the texture's alpha (the AR viewer has no texture bias).
BaseColor describeSpecularGlossiness(SurfaceDescription& surface, const scene::Material& material) {
    const BaseColor base = describeBaseColor(
        surface, material, scene::colorFactor(material, material_keys::diffuseFactor),
        "diffuseColor");
    surface.set("metallic", "float", 0.0f);
    const double glossinessFactor =
        scene::namedNumber(material, material_keys::glossinessFactor, 1.0);
    const scene::MaterialProperty& glossy = material.property(scene::MaterialSlot::multiply);
    if (glossy.image()) {
        TextureRead texture = textureFor(glossy, "roughnessTexture", false);
        texture.use = {ImageUse::Bake::roughnessFromGlossiness, ImageChannel::alpha,
                       glossinessFactor};
        surface.set("roughness", "float",
                    TextureOutput{surface.addTexture(std::move(texture)), "r"});
    } else {
        const scene::Color* specular = material.property(scene::MaterialSlot::specular).color();
        const double glossiness = specular ? specular->alpha : glossinessFactor;
        surface.set("roughness", "float", static_cast<float>(1.0 - glossiness));
    }
    return base;
}

// Blinn-Phong shininess n read as a Beckmann-equivalent roughness, (2 / (n + 2))^(1/4).
BaseColor describeBlinnPhong(SurfaceDescription& surface, const scene::Material& material,
                             Notes& notes) {
    const BaseColor base = describeBaseColor(
        surface, material, scene::colorFactor(material, material_keys::baseColorFactor),
        "diffuseColor");
    surface.set("metallic", "float", 0.0f);
    const double shininess = std::max(material.shininess, 0.0);
    const double roughness = std::clamp(std::pow(2.0 / (shininess + 2.0), 0.25), 0.05, 1.0);
    surface.set("roughness", "float", static_cast<float>(roughness));
    foldMultiplyColor(surface, material, base, notes);
    return base;
}

BaseColor describePhysicallyBased(SurfaceDescription& surface, const scene::Material& material,
                                  Notes& notes) {
    const BaseColor base = describeBaseColor(
        surface, material, scene::colorFactor(material, material_keys::baseColorFactor),
        "diffuseColor");
    describeMetallicRoughness(surface, material);
    foldMultiplyColor(surface, material, base, notes);
    return base;
}

BaseColor describeLightingModel(SurfaceDescription& surface, const scene::Material& material,
                                Notes& notes) {
    if (scene::isUnlit(material))
        return describeUnlit(surface, material);
    if (scene::isSpecularGlossiness(material))
        return describeSpecularGlossiness(surface, material);
    if (isBlinnPhong(material))
        return describeBlinnPhong(surface, material, notes);
    return describePhysicallyBased(surface, material, notes);
}

} // namespace

std::size_t SurfaceDescription::addTexture(TextureRead texture) {
    textures.push_back(std::move(texture));
    return textures.size() - 1;
}

void SurfaceDescription::set(std::string name, std::string typeName, SurfaceInput::Value value) {
    if (SurfaceInput* existing = input(name)) {
        existing->typeName = std::move(typeName);
        existing->value = std::move(value);
        return;
    }
    inputs.push_back({std::move(name), std::move(typeName), std::move(value)});
}

SurfaceInput* SurfaceDescription::input(std::string_view name) {
    for (SurfaceInput& candidate : inputs)
        if (candidate.name == name)
            return &candidate;
    return nullptr;
}

SurfaceDescription describeSurface(const scene::Material& material, VertexColorUse vertexColors,
                                   ImageLibrary& images, Notes& notes) {
    SurfaceDescription surface;
    const BaseColor base = describeLightingModel(surface, material, notes);
    describeNormal(surface, material);
    describeOcclusion(surface, material, images, notes);
    const bool unlit = scene::isUnlit(material);
    if (!unlit) {
        describeEmission(surface, material);
        describeCoatAndRefraction(surface, material);
    }
    describeOpacity(surface, material, base, notes);
    describeVertexColors(surface, material, vertexColors, unlit ? "emissiveColor" : "diffuseColor",
                         notes);
    noteLeftOutFeatures(material, notes);
    return surface;
}

} // namespace usd::writer
