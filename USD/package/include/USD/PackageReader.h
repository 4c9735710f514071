#pragma once

#include <USD/PackageEntry.h>
#include <filesystem>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace usd {

class MappedFile;

// Reads a USDZ package: a zip archive of stored (uncompressed) files. Entries
// are views into the archive bytes, never copies. Construction checks the whole
// archive and throws PackageError for anything unsafe or malformed: entries that
// are compressed or encrypted, unsafe names, duplicate names, entries that
// overlap or run outside the archive, ZIP64 or multi-disk archives, and data
// whose CRC-32 does not match.
class PackageReader {
  public:
    // Maps the file read-only; the reader keeps the mapping alive.
    static PackageReader open(const std::filesystem::path& path);

    // Reads an archive already in memory; the caller keeps `archive` alive for
    // as long as the entries are used.
    explicit PackageReader(std::span<const std::uint8_t> archive);

    // The files in archive order: the first is the package's root layer.
    const std::vector<PackageEntry>& entries() const { return entries_; }

    // The entry called exactly `name`, or nullptr.
    const PackageEntry* find(std::string_view name) const;

    // The first entry, which USD opens for the package. Throws PackageError when
    // the package is empty or starts with something other than a USD layer.
    const PackageEntry& rootLayer() const;

  private:
    PackageReader(std::shared_ptr<const MappedFile> file, std::span<const std::uint8_t> archive);

    std::shared_ptr<const MappedFile> file_;
    std::vector<PackageEntry> entries_;
};

} // namespace usd
