#pragma once

#include "ImportNotes.h"
#include "SkinConversion.h"
#include "SteppedChannels.h"

#include <assimp/scene.h>

namespace modelimporter {

// The seconds the longest channel of any animation of the scene lasts; every position,
// orientation and scale group loops over it, so that all of them play in step.
double longestChannelSeconds(const aiScene& scene);

// Gives every node an animation moves one looping group per animated property and animation
// ("translation", "rotation", "scale"), each holding the key frames of that property. The
// single keys Assimp fills in for properties a file does not animate, which only restate the
// node's own value, are not kept. Channels naming no node and vertex animations are noted.
void convertNodeAnimations(const aiScene& scene, const NodeFinder& findNode,
                           const SteppedChannels& stepped, ImportNotes& notes);

} // namespace modelimporter
