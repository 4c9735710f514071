#pragma once

#include <GLTFReader/ByteSlice.h>
#include <cstddef>

namespace gltf {

// Where an accessor's elements lie inside the bytes it reads from: `count` elements of
// `elementSize` bytes, `stride` bytes apart from byte `offset`.
struct ElementPlacement {
    std::size_t offset;
    std::size_t stride;
    std::size_t count;
    std::size_t elementSize;
};

// An accessor's bytes and where its elements lie in them.
struct PlacedElements {
    ByteSlice data;
    ElementPlacement placement;
};

} // namespace gltf
