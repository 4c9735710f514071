#pragma once

#include <cstdint>
#include <span>

namespace usd::reader {

// Tells the system that the whole pages inside `bytes` will not be read again soon, so that
// their memory can go. The bytes keep their contents (a later read brings the pages back);
// used for a package's layers and images once decoded or copied, since the package's file
// stays mapped, and counted as the process's memory, for as long as the scene is being read.
void releasePages(std::span<const std::uint8_t> bytes);

} // namespace usd::reader
