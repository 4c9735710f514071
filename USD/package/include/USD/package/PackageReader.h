#pragma once

#include <USD/package/PackageEntry.h>
#include <filesystem>
#include <future>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace base {
class MappedFile;
}

namespace usd {

using base::MappedFile;

// Reads a USDZ package: a zip archive of stored (uncompressed) files. Entries
// are views into the archive bytes, never copies. Construction checks the whole
// archive and throws PackageError for anything unsafe or malformed: entries that
// are compressed or encrypted, unsafe names, duplicate names, entries that
// overlap or run outside the archive, ZIP64 or multi-disk archives, and data
// whose CRC-32 does not match (unless that check is asked to run alongside).
class PackageReader {
  public:
    // When open() checks the entries' CRC-32s, which means reading every byte of the package.
    enum class ChecksumTiming {
        beforeOpening, // open() returns once every entry has been checked
        alongside,     // on a second thread while the caller reads; see confirmChecksums()
    };

    // Maps the file read-only; the reader keeps the mapping alive.
    static PackageReader open(const std::filesystem::path& path,
                              ChecksumTiming timing = ChecksumTiming::beforeOpening);

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

    // Waits for a check started alongside and throws PackageError, as open() would have, when
    // an entry is corrupt; returns at once for a package checked before opening. Nothing read
    // from the entries may be trusted until this has returned.
    void confirmChecksums() const;

    // Gives back the memory of the file's pages under `part` of an entry once it has been
    // decoded or copied; they are read again from the file if touched. Nothing for a package
    // read from memory, or for bytes outside the package's file.
    void releasePages(std::span<const std::uint8_t> part) const;

  private:
    PackageReader(std::shared_ptr<const MappedFile> file, std::string notAPackage,
                  ChecksumTiming timing);

    std::shared_ptr<const MappedFile> file_;
    std::string notAPackage_; // the start of an error message naming the file
    std::vector<PackageEntry> entries_;
    std::shared_future<void> checksums_; // valid while checked alongside
};

} // namespace usd
