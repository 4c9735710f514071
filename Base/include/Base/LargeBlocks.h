#pragma once

#include <cstddef>

// Memory for large arrays: whole files, mesh arrays, coding scratch space. Filling tens of
// megabytes of fresh memory otherwise costs one page fault per 4 KiB page, which on virtual
// machines can take longer than producing the bytes.
namespace base {

inline constexpr std::size_t kHugePageSize = std::size_t{2} << 20;

// Asks the system to back a large, not yet touched buffer with huge pages. Only advice:
// ignored where unsupported, and for buffers smaller than a huge page.
void preferHugePages(const void* data, std::size_t size);

// `size` bytes left unset, aligned for any value. A block of a huge page or more starts on a
// huge-page boundary and is backed by huge pages where the system allows, which the
// allocator's own placement would rarely give it. Released with std::free; throws
// std::bad_alloc when there is no memory.
void* allocateUnset(std::size_t size);

} // namespace base
