#pragma once

#include <cstdint>
#include <span>

namespace usd::reader {

// Gives back the memory of the whole pages inside `bytes`, which must lie in a read-only
// mapping of a file: touched again, they are read back from the file (still in the system's
// cache), so the bytes keep their contents. Used for a package's layers and images once
// decoded or copied, since the package's file stays mapped, and counted as the process's memory,
// for as long as the scene is being read. On any other memory this would lose data.
void releaseMappedFilePages(std::span<const std::uint8_t> bytes);

} // namespace usd::reader
