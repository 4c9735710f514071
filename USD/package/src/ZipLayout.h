#pragma once

// Byte layout of the zip records a USDZ package uses: local file headers,
// central-directory headers and the end record. Only what stored,
// unencrypted, non-ZIP64 archives need.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace usd::zip {

constexpr std::uint32_t localHeaderSignature = 0x04034B50;
constexpr std::uint32_t centralHeaderSignature = 0x02014B50;
constexpr std::uint32_t endRecordSignature = 0x06054B50;
constexpr std::size_t localHeaderSize = 30;
constexpr std::size_t centralHeaderSize = 46;
constexpr std::size_t endRecordSize = 22;
constexpr std::size_t dataAlignment = 64;
constexpr std::uint16_t alignmentExtraId = 0x1986;
constexpr std::uint16_t flagEncrypted = 0x0001;
constexpr std::uint16_t flagStrongEncryption = 0x0040;
constexpr std::uint16_t methodStored = 0;
constexpr std::uint16_t versionNeededStored = 10;
constexpr std::uint32_t zip64Marker32 = 0xFFFFFFFF;
constexpr std::uint16_t zip64Marker16 = 0xFFFF;

// The fields local and central headers share, in their on-disk order.
struct EntryFields {
    std::uint16_t versionNeeded = versionNeededStored;
    std::uint16_t flags = 0;
    std::uint16_t method = methodStored;
    std::uint16_t modifiedTime = 0;
    std::uint16_t modifiedDate = 0;
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t uncompressedSize = 0;
    std::uint16_t nameLength = 0;
    std::uint16_t extraLength = 0;
};

struct CentralHeader {
    EntryFields fields;
    std::uint16_t commentLength = 0;
    std::uint16_t diskNumber = 0;
    std::uint32_t localHeaderOffset = 0;
};

struct EndRecord {
    std::uint16_t diskNumber = 0;
    std::uint16_t centralDirectoryDisk = 0;
    std::uint16_t entriesOnDisk = 0;
    std::uint16_t totalEntries = 0;
    std::uint32_t centralDirectorySize = 0;
    std::uint32_t centralDirectoryOffset = 0;
    std::uint16_t commentLength = 0;
};

// Reading. Each parser expects the caller to have checked that the fixed-size
// part of the record lies inside `archive`, and returns nullopt when the
// signature does not match.
std::optional<EntryFields> parseLocalHeader(std::span<const std::uint8_t> archive,
                                            std::size_t offset);
std::optional<CentralHeader> parseCentralHeader(std::span<const std::uint8_t> archive,
                                                std::size_t offset);
std::optional<EndRecord> parseEndRecord(std::span<const std::uint8_t> archive, std::size_t offset);

// Offset of the end record: the last signature from which the record and its
// comment fit before the end of the archive.
std::optional<std::size_t> findEndRecord(std::span<const std::uint8_t> archive);

// Writing. Each returns the complete record, variable parts included.
std::vector<std::uint8_t> localHeader(const EntryFields& fields, std::string_view name);
std::vector<std::uint8_t> centralHeader(const CentralHeader& header, std::string_view name);
std::vector<std::uint8_t> endRecord(const EndRecord& record);

// Length of the extra field that moves an entry's data to the next multiple of
// dataAlignment: 0, or 4 to 67 bytes (an extra record needs a 4-byte header).
std::size_t alignmentPadding(std::size_t headerOffset, std::size_t nameLength);

} // namespace usd::zip
