#pragma once

#include "materials/SurfaceDescription.h"

namespace usd::writer::surface {

// The clear coat and the index of refraction a material carries as named values
// ("clearcoatFactor", "clearcoatRoughnessFactor", "ior"), into the preview surface's inputs of
// the same meaning. Materials without them keep the surface's defaults.
void describeCoatAndRefraction(SurfaceDescription& surface, const scene::Material& material);

// What the reader could not carry into the material (its named value "leftOutFeatures"),
// told to the user.
void noteLeftOutFeatures(const scene::Material& material, Notes& notes);

} // namespace usd::writer::surface
