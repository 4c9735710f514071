#pragma once

#include "MaterialLibrary.h"

#include <SceneGraph/Geometry.h>
#include <USD/LayerBuilder.h>
#include <memory>
#include <string_view>

namespace usd::writer {

// The one variant set holding a mesh's looks.
inline constexpr std::string_view kMaterialVariantSet = "materialVariant";

// Binds the mesh prim's materials through a variant set: one variant per look of the geometry,
// each binding its material. The binding lives only inside the variants, since an opinion on the
// prim itself would outweigh every variant; the selection is the first look that shows
// `defaultMaterial`, or a variant "default" added for it, so what the file shows by default is
// what a viewer shows until the user switches.
void writeMaterialVariants(LayerBuilder& build, MaterialLibrary& materials, const Path& prim,
                           const scene::Geometry& geometry,
                           const std::shared_ptr<scene::Material>& defaultMaterial);

} // namespace usd::writer
