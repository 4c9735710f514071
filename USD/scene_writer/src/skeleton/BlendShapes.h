#pragma once

// Morph targets as blend shapes of the Mesh prims that draw their geometry.

#include "Notes.h"
#include "PrimNames.h"

#include <SceneGraph/Node.h>
#include <USD/layer/LayerBuilder.h>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace usd::writer {

// One blend shape: its token in the SkelRoot's animation and the morph weight that drives it
// (none for an avatar's expression, which rests at 0).
struct BlendShapeTarget {
    std::string token;
    const scene::Node* node = nullptr; // holds the morpher
    std::size_t target = 0;
};

// What the meshes below one SkelRoot share: the skeleton they bind to, and the blend shapes its
// animation drives (tokens unique within the SkelRoot).
struct SkelRootContents {
    Path skeleton;
    Path animation;
    SiblingNames tokens;
    std::vector<BlendShapeTarget> blendShapes;
};

// Writes the morph targets of `node`'s morpher as BlendShape children of `mesh`, whose points
// copy the geometry vertices `origins`, binds them on the mesh and adds them to `root`; an
// avatar's expressions that move them become blend shapes too, mixing the targets. Offsets
// list only the points that move when fewer than about 70% do. Targets whose positions do not
// cover the geometry are left out and reported.
void writeBlendShapes(LayerBuilder& build, const Path& mesh, const scene::Node& node,
                      std::span<const std::uint32_t> origins, SkelRootContents& root, Notes& notes);

// Applies the skeleton binding API to the prim and binds it to `skeleton`.
void bindSkeleton(LayerBuilder& build, const Path& prim, const Path& skeleton);

} // namespace usd::writer
