#pragma once

#include "SkinConversion.h"

#include <assimp/scene.h>

namespace modelimporter {

// Gives every node an animation file moves one looping group per animation, holding
// key-frame animations of its position, orientation and scale on the animation's clock.
void convertAnimations(const aiScene& scene, const NodeFinder& findNode);

} // namespace modelimporter
