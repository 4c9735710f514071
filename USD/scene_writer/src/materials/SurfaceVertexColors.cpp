#include "materials/SurfaceVertexColors.h"

namespace usd::writer::surface {
namespace {

std::string about(const scene::Material& material) {
    return "Material \"" + material.name + "\": ";
}

void readColors(SurfaceDescription& surface, const scene::Material& material,
                const std::string& colorInput, Notes& notes) {
    const SurfaceInput* color = surface.input(colorInput);
    const Vec3f* constant = color ? std::get_if<Vec3f>(&color->value) : nullptr;
    if (color && !constant) {
        notes.push_back(about(material) +
                        "the base colour texture is shown without the vertex colours that "
                        "multiply it.");
        return;
    }
    const Vec3f tint = constant ? *constant : Vec3f{1, 1, 1};
    surface.vertexColorScale.color = tint;
    surface.set(colorInput, "color3f", PrimvarOutput{"displayColor", tint});
}

void readOpacities(SurfaceDescription& surface, const scene::Material& material, Notes& notes) {
    const SurfaceInput* opacity = surface.input("opacity");
    const float* constant = opacity ? std::get_if<float>(&opacity->value) : nullptr;
    if (opacity && !constant) {
        notes.push_back(about(material) +
                        "the opacity texture is shown without the vertex opacities that "
                        "multiply it.");
        return;
    }
    const float fallback = constant ? *constant : 1.0f;
    surface.vertexColorScale.opacity = fallback;
    surface.set("opacity", "float", PrimvarOutput{"displayOpacity", fallback});
}

} // namespace

void describeVertexColors(SurfaceDescription& surface, const scene::Material& material,
                          VertexColorUse use, const std::string& colorInput, Notes& notes) {
    if (use.colors)
        readColors(surface, material, colorInput, notes);
    if (use.opacities)
        readOpacities(surface, material, notes);
}

} // namespace usd::writer::surface
