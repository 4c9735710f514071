#pragma once

#include <USD/layer/Layer.h>
#include <cstddef>

namespace bench {

// A layer with one triangle mesh as a converter writes it: `pointCount` points on a waving grid
// with normals and texture coordinates, and as many triangles (3 × pointCount face-vertex
// indices) covering the grid's first half.
usd::Layer meshLayer(std::size_t pointCount);

} // namespace bench
