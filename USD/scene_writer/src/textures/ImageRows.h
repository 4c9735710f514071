#pragma once

#include <SceneGraph/Image.h>
#include <cstdint>
#include <functional>
#include <span>

namespace usd::writer {

// Called with each row of an image as RGBA bytes, top to bottom; returns false to stop early.
using RGBA8RowVisitor = std::function<bool(std::span<const std::uint8_t> row)>;

// Decodes the image row by row: a PNG never holds more than a row of RGBA pixels, so a bake
// that keeps one channel needs a quarter of the memory and a scan can stop at the first row
// that answers it. Other formats are decoded whole first. Throws std::runtime_error when the
// image cannot be decoded or is too large to bake.
void forEachRGBA8Row(const scene::Image& image, const RGBA8RowVisitor& visit);

} // namespace usd::writer
