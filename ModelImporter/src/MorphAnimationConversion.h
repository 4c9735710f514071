#pragma once

#include "ImportNotes.h"
#include "SkinConversion.h"
#include "SteppedChannels.h"

#include <assimp/scene.h>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace modelimporter {

// One morph weight below a node: its key path from the node, and the target it weighs.
struct WeightPath {
    std::string keyPath;
    std::size_t target;
};

// The morph weights below the node of that name, empty when it shows no morph targets.
using WeightPathFinder = std::function<std::vector<WeightPath>(const std::string& nodeName)>;

// Gives every node whose morph weights an animation drives one looping group per animation
// ("weights"), holding one key-frame animation per weight below the node; the group loops over
// its own channel's length, as the glTF reader's weight groups do. Channels that drive no
// morph targets, and weights of targets a mesh lacks, are noted.
void convertMorphAnimations(const aiScene& scene, const NodeFinder& findNode,
                            const WeightPathFinder& findWeightPaths, const SteppedChannels& stepped,
                            ImportNotes& notes);

} // namespace modelimporter
