#pragma once

#include <USD/package/PackageEntry.h>
#include <filesystem>
#include <span>

namespace usd {

// Writes a USDZ package at `path` (replacing any file there): the entries in
// the given order, each stored uncompressed with its CRC-32, its data starting
// at a multiple of 64 bytes. The first entry must be the root USD layer. Entry
// bytes are streamed to the file, never gathered in memory.
//
// Throws PackageError, leaving no file behind, when an entry name is unsafe or
// repeated, the first entry is not a USD layer, the package would need ZIP64
// (4 GiB or more, or 65,535 entries or more), or the file cannot be written.
void writePackage(const std::filesystem::path& path, std::span<const PackageEntry> entries);

} // namespace usd
