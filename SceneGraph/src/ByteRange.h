#pragma once

#include <cstddef>

namespace scene::detail {

/// Whether `count` items of `itemSize` bytes, `stride` bytes apart and starting at `offset`,
/// end within `available` bytes. Safe against overflow for any inputs.
bool stridedItemsFit(std::size_t offset, std::size_t count, std::size_t stride,
                     std::size_t itemSize, std::size_t available);

} // namespace scene::detail
