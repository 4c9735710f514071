#include "materials/SurfaceSlots.h"

#include <SceneGraph/Image.h>
#include <SceneGraph/MaterialContract.h>

namespace usd::writer::surface {
namespace {

using scene::ColorComponents;
using scene::MaterialProperty;
namespace material_keys = scene::material_keys;

Vec3f rgbOf(const scene::Color& color, double factor = 1.0) {
    return {static_cast<float>(color.red * factor), static_cast<float>(color.green * factor),
            static_cast<float>(color.blue * factor)};
}

// The single channel a scalar input reads; a slot reading every channel reads the first.
ImageChannel channelOf(ColorComponents components, ImageChannel whole) {
    switch (components) {
    case ColorComponents::red:
        return ImageChannel::red;
    case ColorComponents::green:
        return ImageChannel::green;
    case ColorComponents::blue:
        return ImageChannel::blue;
    case ColorComponents::alpha:
        return ImageChannel::alpha;
    default:
        return whole;
    }
}

std::string outputOf(ImageChannel channel) {
    static constexpr const char* names[] = {"r", "g", "b", "a"};
    return names[static_cast<int>(channel)];
}

// A grey colour's level or a number: what a scalar slot holds without an image.
std::optional<float> constantOf(const MaterialProperty& slot) {
    if (const scene::Color* color = slot.color())
        return static_cast<float>(color->red);
    if (const double* number = slot.number())
        return static_cast<float>(*number);
    return std::nullopt;
}

bool sameTextureRead(const MaterialProperty& a, const MaterialProperty& b) {
    return a.image() == b.image() && a.mappingChannel == b.mappingChannel && a.wrapS == b.wrapS &&
           a.wrapT == b.wrapT && a.contentsTransform == b.contentsTransform;
}

// A scalar slot: a constant, or one channel of a texture scaled by `factor`. `shared` names a
// texture node reading the same image, which then gains this channel's scale.
std::optional<std::size_t> describeScalar(SurfaceDescription& surface, const MaterialProperty& slot,
                                          const std::string& input, double factor,
                                          std::optional<std::size_t> shared) {
    if (!slot.image()) {
        if (const auto constant = constantOf(slot))
            surface.set(input, "float", *constant);
        return std::nullopt;
    }
    const ImageChannel channel = channelOf(slot.textureComponents, ImageChannel::red);
    const std::size_t texture =
        shared ? *shared : surface.addTexture(textureFor(slot, input + "Texture", false));
    surface.textures[texture].scale[static_cast<int>(channel)] = static_cast<float>(factor);
    surface.set(input, "float", TextureOutput{texture, outputOf(channel)});
    return texture;
}

} // namespace

TextureRead textureFor(const MaterialProperty& slot, std::string nodeName, bool sRGB) {
    TextureRead texture;
    texture.nodeName = std::move(nodeName);
    texture.image = slot.image();
    texture.texCoordChannel = slot.mappingChannel;
    texture.wrapS = slot.wrapS;
    texture.wrapT = slot.wrapT;
    texture.contentsTransform = slot.contentsTransform;
    // Only magnification shows: nearest minification between linear mipmaps looks smooth.
    texture.asksForNearestFilter = slot.magnificationFilter == scene::FilterMode::nearest;
    texture.sRGB = sRGB;
    return texture;
}

BaseColor describeBaseColor(SurfaceDescription& surface, const scene::Material& material,
                            const std::array<double, 4>& factors, const std::string& inputName) {
    const MaterialProperty& slot = material.property(scene::MaterialSlot::diffuse);
    BaseColor base;
    if (slot.image()) {
        TextureRead texture = textureFor(slot, "diffuseTexture", true);
        for (int i = 0; i < 3; ++i)
            texture.scale[i] = static_cast<float>(factors[i] * slot.intensity);
        texture.scale[3] = static_cast<float>(factors[3]);
        base.texture = surface.addTexture(std::move(texture));
        surface.set(inputName, "color3f", TextureOutput{*base.texture, "rgb"});
    } else if (const scene::Color* color = slot.color()) {
        surface.set(inputName, "color3f", rgbOf(*color));
        base.alpha = color->alpha;
    }
    return base;
}

void describeMetallicRoughness(SurfaceDescription& surface, const scene::Material& material) {
    const MaterialProperty& metal = material.property(scene::MaterialSlot::metalness);
    const MaterialProperty& rough = material.property(scene::MaterialSlot::roughness);
    const auto metalTexture =
        describeScalar(surface, metal, "metallic",
                       scene::namedNumber(material, material_keys::metallicFactor, 1.0), {});
    // The AR viewer reads one packed texture per material: metal and roughness share a node
    // when they read the same image the same way.
    const bool packed = metalTexture && rough.image() && sameTextureRead(metal, rough);
    describeScalar(surface, rough, "roughness",
                   scene::namedNumber(material, material_keys::roughnessFactor, 1.0),
                   packed ? metalTexture : std::nullopt);
    if (packed)
        surface.textures[*metalTexture].nodeName = "metallicRoughnessTexture";
}

void describeNormal(SurfaceDescription& surface, const scene::Material& material) {
    const MaterialProperty& slot = material.property(scene::MaterialSlot::normal);
    if (!slot.image())
        return;
    TextureRead texture = textureFor(slot, "normalTexture", false);
    texture.scale = {2, 2, 2, 1};
    texture.bias = {-1, -1, -1, 0};
    texture.fallback = {0.5f, 0.5f, 1, 1};
    surface.set("normal", "normal3f", TextureOutput{surface.addTexture(std::move(texture)), "rgb"});
}

void describeOcclusion(SurfaceDescription& surface, const scene::Material& material,
                       ImageLibrary& images, Notes& notes) {
    const MaterialProperty& slot = material.property(scene::MaterialSlot::ambientOcclusion);
    if (!slot.image())
        return;
    const ImageChannel channel = channelOf(slot.textureComponents, ImageChannel::red);
    // Older AR viewers darkened the whole model with an all-black occlusion map.
    if (images.isAllZero(*slot.image(), channel)) {
        notes.push_back("An occlusion image that is black everywhere was left out.");
        return;
    }
    TextureRead texture = textureFor(slot, "occlusionTexture", false);
    std::string output = outputOf(channel);
    if (slot.intensity != 1.0) {
        texture.use = {ImageUse::Bake::occlusionStrength, channel, slot.intensity};
        output = "r";
    }
    surface.set("occlusion", "float",
                TextureOutput{surface.addTexture(std::move(texture)), output});
}

void describeEmission(SurfaceDescription& surface, const scene::Material& material) {
    using material_keys::emissiveFactor;
    const MaterialProperty& slot = material.property(scene::MaterialSlot::emission);
    if (slot.image()) {
        const std::array<double, 4> factors = scene::colorFactor(material, emissiveFactor);
        TextureRead texture = textureFor(slot, "emissiveTexture", true);
        for (int i = 0; i < 3; ++i)
            texture.scale[i] = static_cast<float>(factors[i] * slot.intensity);
        surface.set("emissiveColor", "color3f",
                    TextureOutput{surface.addTexture(std::move(texture)), "rgb"});
        return;
    }
    const scene::Color* color = slot.color();
    if (color && (color->red != 0 || color->green != 0 || color->blue != 0)) {
        surface.set("emissiveColor", "color3f", rgbOf(*color, slot.intensity));
        return;
    }
    // Without a texture the loader keeps the emissive factor only in the named values.
    const std::array<double, 4> factors = scene::colorFactor(material, emissiveFactor, 0.0);
    if (factors[0] != 0 || factors[1] != 0 || factors[2] != 0)
        surface.set("emissiveColor", "color3f",
                    Vec3f{static_cast<float>(factors[0]), static_cast<float>(factors[1]),
                          static_cast<float>(factors[2])});
}

void foldMultiplyColor(SurfaceDescription& surface, const scene::Material& material,
                       const BaseColor& base, Notes& notes) {
    const MaterialProperty& slot = material.property(scene::MaterialSlot::multiply);
    if (slot.image()) {
        notes.push_back("Material \"" + material.name +
                        "\": an image in the multiply slot cannot be shown and was left out.");
        return;
    }
    const scene::Color* tint = slot.color();
    if (!tint || (tint->red == 1 && tint->green == 1 && tint->blue == 1))
        return;
    const std::array<double, 3> rgb{tint->red, tint->green, tint->blue};
    if (base.texture) {
        for (int i = 0; i < 3; ++i)
            surface.textures[*base.texture].scale[i] *= static_cast<float>(rgb[i]);
    } else if (SurfaceInput* diffuse = surface.input("diffuseColor")) {
        if (Vec3f* color = std::get_if<Vec3f>(&diffuse->value))
            for (int i = 0; i < 3; ++i)
                (*color)[i] *= static_cast<float>(rgb[i]);
    }
}

} // namespace usd::writer::surface
