#include "Crc32.h"
#include "EntryName.h"
#include "ZipLayout.h"

#include <Base/MappedFile.h>
#include <USD/package/PackageError.h>
#include <USD/package/PackageReader.h>
#include <algorithm>
#include <future>
#include <string>
#include <unordered_set>

namespace usd {
namespace {

// Everything below throws PackageError with the bare reason; the public
// constructors put the package's name in front.
[[noreturn]] void malformed(const std::string& reason) {
    throw PackageError(reason);
}

struct CentralEntry {
    zip::CentralHeader header;
    std::string name;
};

struct LocatedEntry {
    PackageEntry entry;
    std::size_t headerOffset;
    std::size_t dataEnd;
    std::uint32_t crc; // as the central directory records it
};

zip::EndRecord readEndRecord(std::span<const std::uint8_t> archive, std::size_t& endOffset) {
    const auto offset = zip::findEndRecord(archive);
    if (!offset)
        malformed("no zip end-of-central-directory record found");
    endOffset = *offset;
    const zip::EndRecord record = *zip::parseEndRecord(archive, *offset);
    if (record.diskNumber != 0 || record.centralDirectoryDisk != 0 ||
        record.entriesOnDisk != record.totalEntries)
        malformed("archives split over several disks are not supported");
    if (record.totalEntries == zip::zip64Marker16 ||
        record.centralDirectoryOffset == zip::zip64Marker32 ||
        record.centralDirectorySize == zip::zip64Marker32)
        malformed("ZIP64 archives are not allowed in a USDZ package");
    if (std::size_t{record.centralDirectoryOffset} + record.centralDirectorySize > *offset)
        malformed("the central directory lies outside the archive");
    return record;
}

CentralEntry readCentralEntry(std::span<const std::uint8_t> archive, std::size_t& offset,
                              std::size_t directoryEnd) {
    if (offset + zip::centralHeaderSize > directoryEnd)
        malformed("the central directory is truncated");
    const auto header = zip::parseCentralHeader(archive, offset);
    if (!header)
        malformed("bad central directory header signature");
    const std::size_t nameStart = offset + zip::centralHeaderSize;
    const std::size_t recordEnd =
        nameStart + header->fields.nameLength + header->fields.extraLength + header->commentLength;
    if (recordEnd > directoryEnd)
        malformed("the central directory is truncated");
    offset = recordEnd;
    const auto* name = reinterpret_cast<const char*>(archive.data() + nameStart);
    return {*header, std::string(name, header->fields.nameLength)};
}

std::vector<CentralEntry> readCentralDirectory(std::span<const std::uint8_t> archive,
                                               const zip::EndRecord& record) {
    std::vector<CentralEntry> entries;
    entries.reserve(record.totalEntries);
    std::size_t offset = record.centralDirectoryOffset;
    const std::size_t directoryEnd = offset + record.centralDirectorySize;
    for (std::size_t i = 0; i < record.totalEntries; ++i)
        entries.push_back(readCentralEntry(archive, offset, directoryEnd));
    return entries;
}

void checkStoredAndPlain(const zip::EntryFields& fields, const std::string& quotedName) {
    if (fields.flags & (zip::flagEncrypted | zip::flagStrongEncryption))
        malformed("entry " + quotedName + " is encrypted");
    if (fields.method != zip::methodStored)
        malformed("entry " + quotedName + " is compressed (method " +
                  std::to_string(fields.method) + "); packages hold stored files only");
}

void checkCentralEntry(const CentralEntry& central) {
    const std::string quoted = quotedEntryName(central.name);
    if (auto problem = entryNameProblem(central.name))
        malformed("entry name " + quoted + " " + *problem);
    const zip::EntryFields& fields = central.header.fields;
    checkStoredAndPlain(fields, quoted);
    if (fields.compressedSize == zip::zip64Marker32 ||
        fields.uncompressedSize == zip::zip64Marker32 ||
        central.header.localHeaderOffset == zip::zip64Marker32)
        malformed("entry " + quoted + " needs ZIP64, which a USDZ package may not use");
    if (fields.compressedSize != fields.uncompressedSize)
        malformed("entry " + quoted + " has different stored and original sizes");
}

// Finds the entry's data through its local header, whose extra field may differ
// in length from the central one.
LocatedEntry locateEntry(std::span<const std::uint8_t> archive, const CentralEntry& central,
                         std::size_t dataLimit) {
    const std::string quoted = quotedEntryName(central.name);
    const std::size_t headerOffset = central.header.localHeaderOffset;
    if (headerOffset + zip::localHeaderSize > dataLimit)
        malformed("entry " + quoted + " starts outside the archive");
    const auto local = zip::parseLocalHeader(archive, headerOffset);
    if (!local)
        malformed("entry " + quoted + " has a bad local header signature");
    checkStoredAndPlain(*local, quoted);
    const std::size_t nameStart = headerOffset + zip::localHeaderSize;
    const std::size_t dataStart = nameStart + local->nameLength + local->extraLength;
    const std::size_t size = central.header.fields.uncompressedSize;
    if (dataStart + size > dataLimit)
        malformed("entry " + quoted + " runs past the end of the archive data");
    const std::string_view localName(reinterpret_cast<const char*>(archive.data() + nameStart),
                                     local->nameLength);
    if (localName != central.name)
        malformed("entry " + quoted + " has a different name in its local header");
    return {{central.name, archive.subspan(dataStart, size)},
            headerOffset,
            dataStart + size,
            central.header.fields.crc};
}

// In archive order, so that the first corrupt entry is the one named.
void checkChecksums(const std::vector<LocatedEntry>& entriesInArchiveOrder) {
    for (const LocatedEntry& located : entriesInArchiveOrder)
        if (crc32(located.entry.bytes) != located.crc)
            malformed("entry " + quotedEntryName(located.entry.name) +
                      " is corrupt (CRC-32 mismatch)");
}

void checkNoOverlap(const std::vector<LocatedEntry>& entriesInArchiveOrder) {
    for (std::size_t i = 1; i < entriesInArchiveOrder.size(); ++i) {
        const LocatedEntry& previous = entriesInArchiveOrder[i - 1];
        if (previous.dataEnd > entriesInArchiveOrder[i].headerOffset)
            malformed("entries " + quotedEntryName(previous.entry.name) + " and " +
                      quotedEntryName(entriesInArchiveOrder[i].entry.name) + " overlap");
    }
}

void checkUniqueNames(const std::vector<CentralEntry>& entries) {
    std::unordered_set<std::string_view> seen;
    for (const CentralEntry& entry : entries)
        if (!seen.insert(entry.name).second)
            malformed("entry name " + quotedEntryName(entry.name) + " appears twice");
}

// Folder entries carry no data; generic zip tools add them, and a package's
// files never depend on them.
bool isFolderEntry(const CentralEntry& entry) {
    return !entry.name.empty() && entry.name.back() == '/' &&
           entry.header.fields.uncompressedSize == 0;
}

// Every entry, checked for everything but its CRC-32, in archive order.
std::vector<LocatedEntry> locateEntries(std::span<const std::uint8_t> archive) {
    std::size_t endOffset = 0;
    const zip::EndRecord record = readEndRecord(archive, endOffset);
    std::vector<CentralEntry> central = readCentralDirectory(archive, record);
    std::erase_if(central, isFolderEntry);
    std::vector<LocatedEntry> located;
    located.reserve(central.size());
    for (const CentralEntry& entry : central) {
        checkCentralEntry(entry);
        located.push_back(locateEntry(archive, entry, record.centralDirectoryOffset));
    }
    checkUniqueNames(central);
    std::ranges::sort(located, {}, &LocatedEntry::headerOffset);
    checkNoOverlap(located);
    return located;
}

std::vector<PackageEntry> entriesOf(const std::vector<LocatedEntry>& located) {
    std::vector<PackageEntry> entries;
    entries.reserve(located.size());
    for (const LocatedEntry& entry : located)
        entries.push_back(entry.entry);
    return entries;
}

std::vector<PackageEntry> readCheckedEntries(std::span<const std::uint8_t> archive) {
    const std::vector<LocatedEntry> located = locateEntries(archive);
    checkChecksums(located);
    return entriesOf(located);
}

const std::string kNotAPackage = "Not a valid USDZ package: ";

} // namespace

namespace {

std::shared_ptr<const MappedFile> mapPackage(const std::filesystem::path& path) {
    try {
        return std::make_shared<const MappedFile>(path);
    } catch (const base::FileError& error) {
        throw PackageError(error.what());
    }
}

} // namespace

PackageReader PackageReader::open(const std::filesystem::path& path, ChecksumTiming timing) {
    const std::shared_ptr<const MappedFile> file = mapPackage(path);
    const std::string notAPackage = "'" + path.string() + "' is not a valid USDZ package: ";
    try {
        return PackageReader(file, notAPackage, timing);
    } catch (const PackageError& error) {
        throw PackageError(notAPackage + error.what());
    }
}

PackageReader::PackageReader(std::span<const std::uint8_t> archive) try
    : entries_(readCheckedEntries(archive)) {
} catch (const PackageError& error) {
    throw PackageError(kNotAPackage + error.what());
}

PackageReader::PackageReader(std::shared_ptr<const MappedFile> file, std::string notAPackage,
                             ChecksumTiming timing)
    : file_(std::move(file)), notAPackage_(std::move(notAPackage)) {
    std::vector<LocatedEntry> located = locateEntries(file_->bytes());
    entries_ = entriesOf(located);
    if (timing == ChecksumTiming::beforeOpening) {
        checkChecksums(located);
        return;
    }
    // The task keeps the mapping alive itself; the last copy of the reader waits for it.
    checksums_ = std::async(std::launch::async, [located = std::move(located), file = file_] {
                     checkChecksums(located);
                 }).share();
}

void PackageReader::confirmChecksums() const {
    if (!checksums_.valid())
        return;
    try {
        checksums_.get();
    } catch (const PackageError& error) {
        throw PackageError(notAPackage_ + error.what());
    }
}

void PackageReader::releasePages(std::span<const std::uint8_t> part) const {
    if (file_ != nullptr)
        file_->releasePages(part);
}

const PackageEntry* PackageReader::find(std::string_view name) const {
    const auto found = std::ranges::find(entries_, name, &PackageEntry::name);
    return found == entries_.end() ? nullptr : &*found;
}

const PackageEntry& PackageReader::rootLayer() const {
    if (entries_.empty())
        throw PackageError("The USDZ package is empty: it holds no USD layer");
    if (!isLayerFileName(entries_.front().name))
        throw PackageError("The USDZ package starts with " +
                           quotedEntryName(entries_.front().name) +
                           ", which is not a USD layer (.usdc, .usda or .usd)");
    return entries_.front();
}

} // namespace usd
