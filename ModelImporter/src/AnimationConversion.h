#pragma once

#include "ImportNotes.h"
#include "SkinConversion.h"
#include "SteppedChannels.h"

#include <assimp/scene.h>

namespace modelimporter {

// The seconds the longest channel of the animation lasts; every position, orientation and
// scale group of the animation loops over it, so that its channels play in step.
double longestChannelSeconds(const aiAnimation& animation);

// Gives every node an animation moves one looping group per animated property and animation
// ("translation", "rotation", "scale"), each holding the key frames of that property and
// belonging to the animation's clip. The
// single keys Assimp fills in for properties a file does not animate, which only restate the
// node's own value, are not kept. Channels naming no node and vertex animations are noted.
void convertNodeAnimations(const aiScene& scene, const NodeFinder& findNode,
                           const SteppedChannels& stepped, ImportNotes& notes);

} // namespace modelimporter
