#pragma once

#include "TexCoordBakes.h"
#include "VertexAttributes.h"

#include <USD/LayerBuilder.h>
#include <string>
#include <vector>

namespace usd::writer {

// The primvar of texture-coordinate channel n, as material readers name it: "st" for channel
// 0, "st<n>" after it.
std::string texCoordPrimvarName(int channel);

// Authors points, extent, normals and the vertex primvars (texture coordinates, colours,
// opacities, tangents) of a Mesh, Points or BasisCurves prim, all with vertex interpolation.
void writeVertexAttributes(LayerBuilder& build, const Path& prim,
                           const VertexAttributes& attributes);

// Authors each baked channel's primvar once, made from the attributes' channel it moves; a
// channel the attributes lack is skipped (the caller reports it).
void writeBakedTexCoords(LayerBuilder& build, const Path& prim, const VertexAttributes& attributes,
                         const std::vector<BakedTexCoords>& bakes);

} // namespace usd::writer
