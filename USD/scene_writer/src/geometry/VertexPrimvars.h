#pragma once

#include "geometry/VertexAttributes.h"
#include "materials/TexCoordBakes.h"

#include <USD/layer/LayerBuilder.h>
#include <string>
#include <vector>

namespace usd::writer {

// The primvar of texture-coordinate channel n, as material readers name it: "st" for channel
// 0, "st<n>" after it.
std::string texCoordPrimvarName(int channel);

// Authors points, extent, normals and the vertex primvars (texture coordinates, colours,
// opacities, tangents) of a Mesh, Points or BasisCurves prim, all with vertex interpolation.
// The arrays move into the layer: a big mesh's are not copied.
void writeVertexAttributes(LayerBuilder& build, const Path& prim, VertexAttributes attributes);

// A baked channel's primvar, made before the attributes it comes from move into the layer.
struct BakedPrimvar {
    std::string name; // without the "primvars:" namespace
    Array<Vec2f> values;
};

// Each baked channel's values once, made from the attributes' channel it moves; a channel the
// attributes lack is skipped (the caller reports it).
std::vector<BakedPrimvar> bakedTexCoords(const VertexAttributes& attributes,
                                         const std::vector<BakedTexCoords>& bakes);
void writeBakedTexCoords(LayerBuilder& build, const Path& prim, std::vector<BakedPrimvar> baked);

} // namespace usd::writer
