#include "materials/SurfaceSlots.h"

#include <SceneGraph/Image.h>
#include <SceneGraph/MaterialContract.h>

namespace usd::writer::surface {
namespace {

using scene::MaterialProperty;

std::string outputForOpacity(scene::ColorComponents components) {
    switch (components) {
    case scene::ColorComponents::red:
    case scene::ColorComponents::rgb:
        return "r";
    case scene::ColorComponents::green:
        return "g";
    case scene::ColorComponents::blue:
        return "b";
    default:
        return "a";
    }
}

void opacityFromTransparentImage(SurfaceDescription& surface, const MaterialProperty& slot,
                                 double transparency) {
    TextureRead texture = textureFor(slot, "opacityTexture", false);
    const std::string output = outputForOpacity(slot.textureComponents);
    texture.scale[std::string("rgba").find(output[0])] = static_cast<float>(transparency);
    surface.set("opacity", "float", TextureOutput{surface.addTexture(std::move(texture)), output});
}

// The base texture's alpha, scaled by its factor and the transparency. An image without alpha
// and with nothing scaling it is opaque anyway and stays unconnected.
void opacityFromBaseTexture(SurfaceDescription& surface, std::size_t texture, double transparency,
                            bool cutout) {
    TextureRead& read = surface.textures[texture];
    read.scale[3] *= static_cast<float>(transparency);
    const int channels = read.image ? read.image->channels() : 4;
    const bool imageHasAlpha = channels == 2 || channels == 4;
    if (cutout || imageHasAlpha || read.scale[3] != 1.0f)
        surface.set("opacity", "float", TextureOutput{texture, "a"});
}

} // namespace

void describeOpacity(SurfaceDescription& surface, const scene::Material& material,
                     const BaseColor& base, Notes& notes) {
    const std::optional<double> cutoff = scene::cutoutThreshold(material);
    const bool blends = material.blendMode != scene::BlendMode::replace;
    if (!cutoff && !blends)
        return;
    if (!cutoff && material.blendMode != scene::BlendMode::alpha)
        notes.push_back("Material \"" + material.name + "\": blend mode " +
                        std::string(scene::blendModeName(material.blendMode)) +
                        " was written as ordinary transparency.");
    const MaterialProperty& transparent = material.property(scene::MaterialSlot::transparent);
    if (transparent.image()) {
        opacityFromTransparentImage(surface, transparent, material.transparency);
    } else if (base.texture) {
        opacityFromBaseTexture(surface, *base.texture, material.transparency, cutoff.has_value());
    } else {
        const double opacity = base.alpha * material.transparency;
        if (cutoff || opacity < 1.0)
            surface.set("opacity", "float", static_cast<float>(opacity));
    }
    if (cutoff)
        surface.set("opacityThreshold", "float", static_cast<float>(*cutoff));
}

} // namespace usd::writer::surface

namespace usd::writer {

VertexColorUse visibleVertexColors(const scene::Material& material, VertexColorUse use) {
    const bool alphaShows = material.blendMode != scene::BlendMode::replace ||
                            scene::cutoutThreshold(material).has_value();
    return {use.colors, use.opacities && alphaShows};
}

} // namespace usd::writer
