#pragma once

#include "Findings.h"

#include <SceneGraph/Scene.h>
#include <USD/Layer.h>
#include <USD/USDZWriter.h>
#include <cstddef>

// The parts of the self-check run on every written layer. Each adds a sentence per problem.
namespace usd::writer::check {

// defaultPrim names a root prim; upAxis is Y; metersPerUnit is authored.
void checkLayerMetadata(const Layer& layer, Findings& findings);
// Prim types the AR viewer accepts (and notes on those it does not draw); no gprim inside a
// gprim.
void checkPrimTypes(const Layer& layer, Findings& findings);
// Prims nested deeper than this are refused by some USD readers.
inline constexpr std::size_t kWidelyReadPrimDepth = 255;
// How deep the prims nest, when deeper than every USD reader reads.
void checkHierarchyDepth(const Layer& layer, Findings& findings);
// Shader ids, input types, normal-map texture settings, and that every connection has one
// existing source.
void checkShaders(const Layer& layer, Findings& findings);
// Binding targets exist and are materials; bound prims apply the binding API.
void checkBindings(const Layer& layer, Findings& findings);
// Vertex primvars and indices agree with the points of their prim.
void checkPrimvarCounts(const Layer& layer, Findings& findings);
// Asset paths are relative, stay inside the package and (with `packaged`) name a packaged file.
void checkAssetPaths(const Layer& layer, const std::vector<PackagedFile>* packaged,
                     Findings& findings);
// Skeletons: joints parent-first, as many bind and rest transforms as joints; SkelAnimation
// arrays of one value per joint or blend shape; skinned meshes' joint indices and weights of
// one element size, naming joints their skeleton has; blend-shape targets that fit their mesh;
// time samples at whole codes in ascending order.
void checkSkeletons(const Layer& layer, Findings& findings);
// What of the scene's skinning, morph targets and animations the layer lacks.
void checkLeftOutContent(const scene::Scene& scene, const Layer& layer, Findings& findings);

} // namespace usd::writer::check
