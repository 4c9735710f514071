#pragma once

#include "ComposedPrim.h"

#include <SceneGraph/Light.h>
#include <USD/scene_reader/SceneReader.h>
#include <memory>

namespace usd::reader {

// Whether the prim is a light the scene graph can hold: a distant or a sphere light.
bool isPunctualLight(const ComposedPrim& prim);

// The light of a DistantLight or SphereLight prim. The intensity is the prim's intensity
// scaled by its exposure, unconverted (a package of ours holds candela and lux there); a
// sphere light with the shaping schema's cone is a spot light, the cone's softness giving
// the inner angle. A sphere light with a size is read as a point and the notes say so.
std::shared_ptr<scene::Light> buildLight(const ComposedPrim& prim, SceneReadNotes& notes);

} // namespace usd::reader
