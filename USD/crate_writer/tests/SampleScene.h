#pragma once

#include <USD/layer/Layer.h>
#include <cstdint>
#include <vector>

namespace usd::test {

// A textured, material-bound grid mesh under a transformed root, with an
// animated prim, layer metadata and a dictionary: every kind of value the
// converter writes, with arrays long enough to be compressed (integers, whole
// number floats and few-valued floats). Its texture is textures/albedo.png.
Layer sampleScene();

// A valid 1×1 PNG image for the scene's texture.
std::vector<std::uint8_t> samplePng();

} // namespace usd::test
