#pragma once

#include "MaterialResolver.h"
#include "ShaderNetwork.h"
#include "TextureNode.h"

#include <USD/scene_reader/SceneReader.h>

namespace usd::reader {

// A physically based scene material from a UsdPreviewSurface shader: every input that has a
// slot, constant or textured, with texture factors restored from the texture scale.
ResolvedMaterial previewSurfaceMaterial(const ComposedPrim& shader, const ShaderNetwork& network,
                                        TextureReader& textures, SceneReadNotes& notes);

// The material of a gprim without a usable shader: its constant displayColor and
// displayOpacity, else the UsdPreviewSurface grey.
ResolvedMaterial displayColorMaterial(const ComposedPrim& gprim);

} // namespace usd::reader
