#include "Crc32.h"
#include "EntryName.h"
#include "FileSink.h"
#include "ZipLayout.h"

#include <USD/package/PackageError.h>
#include <USD/package/PackageWriter.h>
#include <future>
#include <limits>
#include <string>
#include <unordered_set>

namespace usd {
namespace {

// Every entry gets the same timestamp, 1980-01-01 00:00, the earliest a zip
// can hold, so that writing the same content twice gives the same bytes.
constexpr std::uint16_t fixedDosDate = (1 << 5) | 1;
constexpr std::uint16_t fixedDosTime = 0;
constexpr std::size_t largestOffset = std::numeric_limits<std::uint32_t>::max() - 1;

void checkEntries(std::span<const PackageEntry> entries) {
    if (entries.empty() || !isLayerFileName(entries.front().name))
        throw PackageError("A USDZ package must start with its root USD layer");
    if (entries.size() >= zip::zip64Marker16)
        throw PackageError("A USDZ package cannot hold 65,535 files or more");
    std::unordered_set<std::string_view> names;
    for (const PackageEntry& entry : entries) {
        const std::string quoted = quotedEntryName(entry.name);
        if (auto problem = entryNameProblem(entry.name))
            throw PackageError("Cannot store " + quoted + " in a USDZ package: the name " +
                               *problem);
        if (entry.name.size() > std::numeric_limits<std::uint16_t>::max())
            throw PackageError("Cannot store " + quoted +
                               " in a USDZ package: the name is too long");
        if (!names.insert(entry.name).second)
            throw PackageError("Cannot store " + quoted + " twice in a USDZ package");
    }
}

// Where each entry's local header goes, and the fields both its headers carry.
struct PlannedEntry {
    zip::CentralHeader header;
    std::string_view name;
    std::span<const std::uint8_t> bytes;
};

struct PackagePlan {
    std::vector<PlannedEntry> entries;
    zip::EndRecord end;
};

void checkFitsWithoutZip64(std::size_t offset) {
    if (offset > largestOffset)
        throw PackageError("A USDZ package cannot be 4 GiB or larger");
}

PackagePlan planPackage(std::span<const PackageEntry> entries) {
    PackagePlan plan;
    std::size_t offset = 0;
    for (const PackageEntry& entry : entries) {
        PlannedEntry planned{{}, entry.name, entry.bytes};
        zip::EntryFields& fields = planned.header.fields;
        fields.modifiedDate = fixedDosDate;
        fields.modifiedTime = fixedDosTime;
        fields.nameLength = static_cast<std::uint16_t>(entry.name.size());
        fields.extraLength =
            static_cast<std::uint16_t>(zip::alignmentPadding(offset, entry.name.size()));
        fields.compressedSize = fields.uncompressedSize =
            static_cast<std::uint32_t>(entry.bytes.size());
        planned.header.localHeaderOffset = static_cast<std::uint32_t>(offset);
        offset +=
            zip::localHeaderSize + entry.name.size() + fields.extraLength + entry.bytes.size();
        checkFitsWithoutZip64(offset);
        plan.entries.push_back(planned);
    }
    plan.end.entriesOnDisk = plan.end.totalEntries = static_cast<std::uint16_t>(entries.size());
    plan.end.centralDirectoryOffset = static_cast<std::uint32_t>(offset);
    for (const PlannedEntry& planned : plan.entries)
        offset += zip::centralHeaderSize + planned.name.size() + planned.header.fields.extraLength;
    checkFitsWithoutZip64(offset);
    plan.end.centralDirectorySize =
        static_cast<std::uint32_t>(offset - plan.end.centralDirectoryOffset);
    return plan;
}

std::uint64_t dataOffset(const PlannedEntry& entry) {
    return entry.header.localHeaderOffset + zip::localHeaderSize + entry.name.size() +
           entry.header.fields.extraLength;
}

std::vector<std::uint32_t> crcsOf(const std::vector<PlannedEntry>& entries) {
    std::vector<std::uint32_t> crcs;
    crcs.reserve(entries.size());
    for (const PlannedEntry& entry : entries)
        crcs.push_back(crc32(entry.bytes));
    return crcs;
}

// Every offset is planned, so the CRC-32s are worked out on a second thread while the entries'
// bytes go to the file, and the local headers that carry them are written last.
void writeEntries(FileSink& sink, std::vector<PlannedEntry>& entries) {
    auto crcs = std::async(std::launch::async | std::launch::deferred,
                           [&entries] { return crcsOf(entries); });
    for (const PlannedEntry& entry : entries)
        sink.writeAt(dataOffset(entry), entry.bytes);
    const std::vector<std::uint32_t> values = crcs.get();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        PlannedEntry& entry = entries[i];
        entry.header.fields.crc = values[i];
        sink.writeAt(entry.header.localHeaderOffset,
                     zip::localHeader(entry.header.fields, entry.name));
    }
}

void writeCentralDirectory(FileSink& sink, const PackagePlan& plan) {
    std::uint64_t offset = plan.end.centralDirectoryOffset;
    const auto append = [&](const std::vector<std::uint8_t>& bytes) {
        sink.writeAt(offset, bytes);
        offset += bytes.size();
    };
    for (const PlannedEntry& entry : plan.entries)
        append(zip::centralHeader(entry.header, entry.name));
    append(zip::endRecord(plan.end));
}

} // namespace

void writePackage(const std::filesystem::path& path, std::span<const PackageEntry> entries) {
    checkEntries(entries);
    PackagePlan plan = planPackage(entries);
    FileSink sink(path);
    writeEntries(sink, plan.entries);
    writeCentralDirectory(sink, plan);
    sink.commit();
}

} // namespace usd
