#include "StructuralSections.h"

#include <USD/codec/CompressedIntegers.h>
#include <USD/codec/FramedLz4.h>
#include <algorithm>
#include <cstring>

namespace usd::crate {

namespace {

constexpr Version kCompressedSectionsVersion{0, 4, 0};
constexpr Version kUnpaddedRecordsVersion{0, 1, 0};

// Reads a u64 length and that many framed bytes, decompressing to exactly size bytes.
std::vector<std::uint8_t> readFramedBytes(ByteReader& reader, std::uint64_t size) {
    const auto framed = reader.readBytes(reader.read<std::uint64_t>());
    if (size > framedExpansionLimit(framed.size())) {
        throw FormatError(std::to_string(framed.size()) + " compressed bytes cannot hold " +
                          std::to_string(size) + " bytes");
    }
    std::vector<std::uint8_t> bytes(size);
    if (decompressFramed(framed, bytes) != size) {
        throw FormatError("compressed data decompresses to the wrong size");
    }
    return bytes;
}

std::vector<std::string> splitTokenBlob(const std::vector<std::uint8_t>& blob,
                                        std::uint64_t count) {
    if (!blob.empty() && blob.back() != 0) {
        throw FormatError("token data does not end with a terminator");
    }
    const auto terminators = static_cast<std::uint64_t>(std::count(blob.begin(), blob.end(), 0));
    if (terminators != count) {
        throw FormatError("token data holds " + std::to_string(terminators) + " tokens, " +
                          std::to_string(count) + " announced");
    }
    std::vector<std::string> tokens;
    tokens.reserve(count);
    auto start = blob.begin();
    while (start != blob.end()) {
        const auto end = std::find(start, blob.end(), std::uint8_t{0});
        tokens.emplace_back(start, end);
        start = end + 1;
    }
    return tokens;
}

void requireIndexesBelow(const std::vector<std::uint32_t>& indexes, std::size_t limit,
                         const char* what) {
    for (const std::uint32_t index : indexes) {
        if (index >= limit) {
            throw FormatError(std::string(what) + " index " + std::to_string(index) +
                              " is out of range (" + std::to_string(limit) + " exist)");
        }
    }
}

std::vector<std::uint32_t> readRawIndexes(ByteReader& reader, std::uint64_t count) {
    return reader.readVector<std::uint32_t>(count);
}

std::vector<SpecRecord> readCompressedSpecs(ByteReader& reader, std::uint64_t count) {
    const auto paths = readCompressedIntegers<std::uint32_t>(reader, count);
    const auto fieldSets = readCompressedIntegers<std::uint32_t>(reader, count);
    const auto types = readCompressedIntegers<std::uint32_t>(reader, count);
    std::vector<SpecRecord> specs(count);
    for (std::size_t i = 0; i < count; ++i) {
        specs[i] = {paths[i], fieldSets[i], types[i]};
    }
    return specs;
}

std::vector<SpecRecord> readRawSpecs(ByteReader& reader, std::uint64_t count, bool padded) {
    const std::size_t recordSize = padded ? 16 : 12;
    reader.requireElements(count, recordSize);
    std::vector<SpecRecord> specs(count);
    for (SpecRecord& spec : specs) {
        if (padded) {
            reader.read<std::uint32_t>();
        }
        spec.pathIndex = reader.read<std::uint32_t>();
        spec.fieldSetIndex = reader.read<std::uint32_t>();
        spec.specType = reader.read<std::uint32_t>();
    }
    return specs;
}

} // namespace

std::vector<std::string> readTokens(ByteReader reader, const Version& version) {
    const auto count = reader.read<std::uint64_t>();
    const auto blobSize = reader.read<std::uint64_t>();
    if (version < kCompressedSectionsVersion) {
        const auto raw = reader.readBytes(blobSize);
        return splitTokenBlob({raw.begin(), raw.end()}, count);
    }
    return splitTokenBlob(readFramedBytes(reader, blobSize), count);
}

std::vector<std::uint32_t> readStrings(ByteReader reader, std::size_t tokenCount) {
    std::vector<std::uint32_t> strings = readRawIndexes(reader, reader.read<std::uint64_t>());
    requireIndexesBelow(strings, tokenCount, "token");
    return strings;
}

std::vector<Field> readFields(ByteReader reader, const Version& version, std::size_t tokenCount) {
    const auto count = reader.read<std::uint64_t>();
    std::vector<Field> fields;
    if (version < kCompressedSectionsVersion) {
        reader.requireElements(count, 16);
        fields.resize(count);
        for (Field& field : fields) {
            reader.read<std::uint32_t>(); // padding
            field.nameToken = reader.read<std::uint32_t>();
            field.value = ValueRep(reader.read<std::uint64_t>());
        }
    } else {
        const auto names = readCompressedIntegers<std::uint32_t>(reader, count);
        if (count > UINT64_MAX / sizeof(std::uint64_t)) {
            throw FormatError("field count " + std::to_string(count) + " is absurd");
        }
        const auto reps = readFramedBytes(reader, count * sizeof(std::uint64_t));
        fields.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            std::uint64_t bits;
            std::memcpy(&bits, reps.data() + i * sizeof bits, sizeof bits);
            fields[i] = {names[i], ValueRep(bits)};
        }
    }
    for (const Field& field : fields) {
        if (field.nameToken >= tokenCount) {
            throw FormatError("field name token " + std::to_string(field.nameToken) +
                              " is out of range (" + std::to_string(tokenCount) + " tokens)");
        }
    }
    return fields;
}

std::vector<std::uint32_t> readFieldSets(ByteReader reader, const Version& version,
                                         std::size_t fieldCount) {
    const auto count = reader.read<std::uint64_t>();
    std::vector<std::uint32_t> fieldSets =
        version < kCompressedSectionsVersion ? readRawIndexes(reader, count)
                                             : readCompressedIntegers<std::uint32_t>(reader, count);
    if (!fieldSets.empty() && fieldSets.back() != kInvalidIndex) {
        throw FormatError("the last field set is not terminated");
    }
    for (const std::uint32_t index : fieldSets) {
        if (index != kInvalidIndex && index >= fieldCount) {
            throw FormatError("field index " + std::to_string(index) + " is out of range (" +
                              std::to_string(fieldCount) + " fields)");
        }
    }
    return fieldSets;
}

std::vector<SpecRecord> readSpecs(ByteReader reader, const Version& version,
                                  const std::vector<std::uint32_t>& fieldSets) {
    const auto count = reader.read<std::uint64_t>();
    std::vector<SpecRecord> specs =
        version >= kCompressedSectionsVersion
            ? readCompressedSpecs(reader, count)
            : readRawSpecs(reader, count, version < kUnpaddedRecordsVersion);
    for (const SpecRecord& spec : specs) {
        const std::uint32_t start = spec.fieldSetIndex;
        if (start >= fieldSets.size() || (start > 0 && fieldSets[start - 1] != kInvalidIndex)) {
            throw FormatError("spec field set index " + std::to_string(start) +
                              " does not start a field set");
        }
    }
    return specs;
}

} // namespace usd::crate
