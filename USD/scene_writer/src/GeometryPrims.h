#pragma once

#include "Findings.h"
#include "GeometryPlan.h"
#include "MaterialLibrary.h"

#include <SceneGraph/Geometry.h>
#include <USD/LayerBuilder.h>

namespace usd::writer {

struct GeometryContext {
    LayerBuilder& build;
    MaterialLibrary& materials;
    Findings& findings;
};

// Authors the attributes, subsets and material bindings of one planned prim on `prim`, which
// the caller has defined with the plan's type. Returns the customData entries the prim needs
// (the caller may have its own to add).
Dictionary writeGeometryPrim(GeometryContext& context, const Path& prim,
                             const scene::Geometry& geometry, const GeometryPrimPlan& plan);

} // namespace usd::writer
