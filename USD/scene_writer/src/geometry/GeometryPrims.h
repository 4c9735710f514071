#pragma once

#include "Notes.h"
#include "geometry/GeometryPlan.h"
#include "materials/MaterialLibrary.h"

#include <SceneGraph/Geometry.h>
#include <USD/layer/LayerBuilder.h>
#include <USD/scene_writer/SceneWriter.h>
#include <cstdint>
#include <functional>
#include <span>

namespace usd::writer {

struct GeometryContext {
    LayerBuilder& build;
    MaterialLibrary& materials;
    Notes& notes;
    // Which prims the package may hold (lights and curves only for USD tools).
    WriteProfile profile = WriteProfile::ar;
};

// Told, once a prim's points are written, which geometry vertex each point copies.
using PointOriginsUse = std::function<void(std::span<const std::uint32_t> origins)>;

// Authors the attributes, subsets and material bindings of one planned prim on `prim`, which
// the caller has defined with the plan's type. Returns the customData entries the prim needs
// (the caller may have its own to add). `useOrigins`, when given, is told the points' origins.
Dictionary writeGeometryPrim(GeometryContext& context, const Path& prim,
                             const scene::Geometry& geometry, const GeometryPrimPlan& plan,
                             const PointOriginsUse& useOrigins = {});

} // namespace usd::writer
