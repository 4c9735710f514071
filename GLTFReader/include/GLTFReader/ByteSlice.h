#pragma once

#include <SceneGraph/Bytes.h>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace gltf {

// Byte blocks are read once and shared; every holder of a range keeps the block alive.
using ByteBlock = scene::Bytes;

// A range of a shared byte block, so that a GLB's binary chunk, and buffers cut from it, reach
// the scene without copies.
struct ByteSlice {
    ByteBlock block;
    std::size_t offset = 0;
    std::size_t size = 0;

    static ByteSlice whole(ByteBlock block);

    std::span<const std::uint8_t> bytes() const;
};

} // namespace gltf
