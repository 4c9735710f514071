#pragma once

#include "materials/MaterialLibrary.h"

#include <SceneGraph/Geometry.h>
#include <USD/layer/LayerBuilder.h>
#include <cstddef>
#include <memory>
#include <string_view>

namespace usd::writer {

// The one variant set holding a mesh's looks.
inline constexpr std::string_view kMaterialVariantSet = "materialVariant";

// Writes the geometry's looks as a variant set on the mesh prim, which binds `defaultMaterial`
// itself (each look's material as the prim's vertex colours show). Each variant adds a subset of
// all `faceCount` faces bound to its material: a subset's binding outweighs the prim's, where a
// binding inside the variant on the prim itself would be outweighed by the prim's own. Without a
// selection the default shows; the selection is the first look that shows the default material, or
// none.
void writeMaterialVariants(LayerBuilder& build, MaterialLibrary& materials, const Path& prim,
                           const scene::Geometry& geometry,
                           const std::shared_ptr<scene::Material>& defaultMaterial,
                           std::size_t faceCount, VertexColorUse colors);

} // namespace usd::writer
