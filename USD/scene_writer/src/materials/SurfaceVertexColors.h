#pragma once

#include "materials/SurfaceDescription.h"

namespace usd::writer::surface {

// The meshes' vertex colours multiply the base colour (`colorInput`: "diffuseColor", or
// "emissiveColor" for unlit materials) and their opacities the opacity (where they show, see
// visibleVertexColors), as glTF draws them: an input holding a constant reads the primvar
// instead, with the constant as the fallback of meshes without it and, in the surface's vertex
// colour scale, as what the meshes' own values are multiplied by. A product one preview surface
// cannot form (the colours times a texture) is left out and told.
void describeVertexColors(SurfaceDescription& surface, const scene::Material& material,
                          VertexColorUse use, const std::string& colorInput, Notes& notes);

} // namespace usd::writer::surface
