#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace scene {

/// An immutable block of bytes shared by every object that reads it. Geometry sources,
/// elements and images keep a reference to the block they were made from; nothing is copied.
using Bytes = std::shared_ptr<const std::vector<std::uint8_t>>;

/// Moves `data` into a new shared block.
inline Bytes makeBytes(std::vector<std::uint8_t> data) {
    return std::make_shared<const std::vector<std::uint8_t>>(std::move(data));
}

} // namespace scene
