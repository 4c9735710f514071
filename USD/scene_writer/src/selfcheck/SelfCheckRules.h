#pragma once

#include "Notes.h"

#include <SceneGraph/Scene.h>
#include <USD/layer/Layer.h>
#include <USD/scene_writer/SceneWriter.h>
#include <cstddef>

// The parts of the self-check run on every written layer beside AR Quick Look's rules (which
// the package checker shares). Each adds a sentence per problem.
namespace usd::writer::check {

// Notes on the prims the AR viewer accepts but does not show (points, cameras).
void checkShownPrims(const Layer& layer, Notes& notes);
// Prims nested deeper than this are refused by some USD readers.
inline constexpr std::size_t kWidelyReadPrimDepth = 255;
// How deep the prims nest, when deeper than every USD reader reads.
void checkHierarchyDepth(const Layer& layer, Notes& notes);
// Vertex primvars and indices agree with the points of their prim.
void checkPrimvarCounts(const Layer& layer, Notes& notes);
// Skeletons: joints parent-first, as many bind and rest transforms as joints; SkelAnimation
// arrays of one value per joint or blend shape; skinned meshes' joint indices and weights of
// one element size, naming joints their skeleton has; blend-shape targets that fit their mesh;
// time samples at whole codes in ascending order.
void checkSkeletons(const Layer& layer, Notes& notes);
// What of the scene's skinning, morph targets and animations the layer lacks.
void checkLeftOutContent(const scene::Scene& scene, const Layer& layer, Notes& notes);

} // namespace usd::writer::check
