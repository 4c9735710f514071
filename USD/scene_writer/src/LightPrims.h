#pragma once

#include "Notes.h"

#include <SceneGraph/Light.h>
#include <USD/layer/LayerBuilder.h>

namespace usd::writer {

// Defines `prim` as the light: a DistantLight for a directional light, a SphereLight treated
// as a point for point and spot lights, the spot's cone through the shaping schema. The prim
// is meant as the child of its node's Xform, whose transform it inherits; both conventions
// shine down −Z.
//
// The intensity is written unchanged (candela for point and spot lights, lux for directional
// ones, with no exposure), so that reading the package back gives the light's own numbers.
// The spot cone's angle is the outer cone angle in degrees; its softness is the part of the
// cone over which the light fades, (outer − inner) / outer, so full brightness ends at the
// inner angle. A range cannot be said and is told in the notes.
void writeLight(LayerBuilder& build, const Path& prim, const scene::Light& light, Notes& notes);

} // namespace usd::writer
