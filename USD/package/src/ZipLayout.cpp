#include "ZipLayout.h"

namespace usd::zip {
namespace {

std::uint16_t readU16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

std::uint32_t readU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(readU16(bytes, offset)) |
           static_cast<std::uint32_t>(readU16(bytes, offset + 2)) << 16;
}

void appendU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void appendU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    appendU16(out, static_cast<std::uint16_t>(value));
    appendU16(out, static_cast<std::uint16_t>(value >> 16));
}

void appendText(std::vector<std::uint8_t>& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

// Both header kinds hold the shared fields in the same order; `at` is where
// they start (after the signature, and in central headers after "made by").
EntryFields readEntryFields(std::span<const std::uint8_t> bytes, std::size_t at) {
    EntryFields fields;
    fields.versionNeeded = readU16(bytes, at);
    fields.flags = readU16(bytes, at + 2);
    fields.method = readU16(bytes, at + 4);
    fields.modifiedTime = readU16(bytes, at + 6);
    fields.modifiedDate = readU16(bytes, at + 8);
    fields.crc = readU32(bytes, at + 10);
    fields.compressedSize = readU32(bytes, at + 14);
    fields.uncompressedSize = readU32(bytes, at + 18);
    fields.nameLength = readU16(bytes, at + 22);
    fields.extraLength = readU16(bytes, at + 24);
    return fields;
}

void appendEntryFields(std::vector<std::uint8_t>& out, const EntryFields& fields) {
    appendU16(out, fields.versionNeeded);
    appendU16(out, fields.flags);
    appendU16(out, fields.method);
    appendU16(out, fields.modifiedTime);
    appendU16(out, fields.modifiedDate);
    appendU32(out, fields.crc);
    appendU32(out, fields.compressedSize);
    appendU32(out, fields.uncompressedSize);
    appendU16(out, fields.nameLength);
    appendU16(out, fields.extraLength);
}

// The alignment extra field: one record with our header ID and zero bytes.
void appendAlignmentExtra(std::vector<std::uint8_t>& out, std::uint16_t length) {
    if (length == 0)
        return;
    appendU16(out, alignmentExtraId);
    appendU16(out, static_cast<std::uint16_t>(length - 4));
    out.resize(out.size() + length - 4, 0);
}

} // namespace

std::optional<EntryFields> parseLocalHeader(std::span<const std::uint8_t> archive,
                                            std::size_t offset) {
    if (readU32(archive, offset) != localHeaderSignature)
        return std::nullopt;
    return readEntryFields(archive, offset + 4);
}

std::optional<CentralHeader> parseCentralHeader(std::span<const std::uint8_t> archive,
                                                std::size_t offset) {
    if (readU32(archive, offset) != centralHeaderSignature)
        return std::nullopt;
    CentralHeader header;
    header.fields = readEntryFields(archive, offset + 6);
    header.commentLength = readU16(archive, offset + 32);
    header.diskNumber = readU16(archive, offset + 34);
    header.localHeaderOffset = readU32(archive, offset + 42);
    return header;
}

std::optional<EndRecord> parseEndRecord(std::span<const std::uint8_t> archive, std::size_t offset) {
    if (readU32(archive, offset) != endRecordSignature)
        return std::nullopt;
    EndRecord record;
    record.diskNumber = readU16(archive, offset + 4);
    record.centralDirectoryDisk = readU16(archive, offset + 6);
    record.entriesOnDisk = readU16(archive, offset + 8);
    record.totalEntries = readU16(archive, offset + 10);
    record.centralDirectorySize = readU32(archive, offset + 12);
    record.centralDirectoryOffset = readU32(archive, offset + 16);
    record.commentLength = readU16(archive, offset + 20);
    return record;
}

std::optional<std::size_t> findEndRecord(std::span<const std::uint8_t> archive) {
    if (archive.size() < endRecordSize)
        return std::nullopt;
    const std::size_t last = archive.size() - endRecordSize;
    const std::size_t first = last > zip64Marker16 ? last - zip64Marker16 : 0;
    for (std::size_t offset = last + 1; offset-- > first;) {
        const auto record = parseEndRecord(archive, offset);
        if (record && offset + endRecordSize + record->commentLength <= archive.size())
            return offset;
    }
    return std::nullopt;
}

std::vector<std::uint8_t> localHeader(const EntryFields& fields, std::string_view name) {
    std::vector<std::uint8_t> out;
    out.reserve(localHeaderSize + name.size() + fields.extraLength);
    appendU32(out, localHeaderSignature);
    appendEntryFields(out, fields);
    appendText(out, name);
    appendAlignmentExtra(out, fields.extraLength);
    return out;
}

std::vector<std::uint8_t> centralHeader(const CentralHeader& header, std::string_view name) {
    std::vector<std::uint8_t> out;
    out.reserve(centralHeaderSize + name.size() + header.fields.extraLength);
    appendU32(out, centralHeaderSignature);
    appendU16(out, 0); // "version made by": plain MS-DOS attributes
    appendEntryFields(out, header.fields);
    appendU16(out, header.commentLength);
    appendU16(out, header.diskNumber);
    appendU16(out, 0); // internal attributes
    appendU32(out, 0); // external attributes
    appendU32(out, header.localHeaderOffset);
    appendText(out, name);
    appendAlignmentExtra(out, header.fields.extraLength);
    return out;
}

std::vector<std::uint8_t> endRecord(const EndRecord& record) {
    std::vector<std::uint8_t> out;
    out.reserve(endRecordSize);
    appendU32(out, endRecordSignature);
    appendU16(out, record.diskNumber);
    appendU16(out, record.centralDirectoryDisk);
    appendU16(out, record.entriesOnDisk);
    appendU16(out, record.totalEntries);
    appendU32(out, record.centralDirectorySize);
    appendU32(out, record.centralDirectoryOffset);
    appendU16(out, record.commentLength);
    return out;
}

std::size_t alignmentPadding(std::size_t headerOffset, std::size_t nameLength) {
    const std::size_t unpaddedDataStart = headerOffset + localHeaderSize + nameLength;
    std::size_t padding = (dataAlignment - unpaddedDataStart % dataAlignment) % dataAlignment;
    if (padding > 0 && padding < 4)
        padding += dataAlignment;
    return padding;
}

} // namespace usd::zip
