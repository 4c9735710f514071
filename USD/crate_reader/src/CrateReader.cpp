#include "CrateLayout.h"
#include "PathTable.h"
#include "SpecAssembly.h"
#include "StructuralSections.h"

#include <Base/FileError.h>
#include <Base/MappedFile.h>
#include <USD/crate_reader/CrateReader.h>
#include <system_error>

namespace usd {

namespace {

using namespace crate;

// Runs one section's reader and names the section in any error it raises.
template <typename Read>
auto readSection(const CrateLayout& layout, std::string_view name, Read read) {
    ByteReader reader = layout.sectionReader(name);
    try {
        return read(reader);
    } catch (const FormatError& error) {
        throw FormatError(std::string(name) + " section: " + error.what());
    }
}

// Missing files and folders are named in the reader's own words; rarer failures (no
// permission, no memory to map) come in the mapping's.
base::MappedFile mapCrateFile(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        throw FormatError(file.string() +
                          ": cannot open: " + (error ? error.message() : "not a regular file"));
    }
    try {
        return base::MappedFile(file);
    } catch (const base::FileError& failure) {
        throw FormatError(failure.what());
    }
}

} // namespace

Layer readCrate(std::span<const std::uint8_t> bytes, CrateReadWarnings* warnings) {
    const CrateLayout layout(bytes);
    const Version& version = layout.version();
    CrateTables tables;
    tables.tokens = readSection(layout, section::kTokens,
                                [&](ByteReader& r) { return readTokens(r, version); });
    tables.strings = readSection(layout, section::kStrings, [&](ByteReader& r) {
        return readStrings(r, tables.tokens.size());
    });
    tables.fields = readSection(layout, section::kFields, [&](ByteReader& r) {
        return readFields(r, version, tables.tokens.size());
    });
    tables.fieldSets = readSection(layout, section::kFieldSets, [&](ByteReader& r) {
        return readFieldSets(r, version, tables.fields.size());
    });
    tables.paths = readSection(layout, section::kPaths, [&](ByteReader& r) {
        return readPathTable(r, version, tables.tokens);
    });
    tables.specs = readSection(layout, section::kSpecs, [&](ByteReader& r) {
        return readSpecs(r, version, tables.fieldSets);
    });
    return assembleLayer(bytes, version, tables, warnings);
}

Layer readCrate(std::span<const std::byte> bytes, CrateReadWarnings* warnings) {
    return readCrate(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                     warnings);
}

Layer readCrateFile(const std::filesystem::path& file, CrateReadWarnings* warnings) {
    // Mapped rather than read: crate files run to hundreds of megabytes, and the decoders copy
    // what they keep straight out of the page cache.
    const base::MappedFile mapped = mapCrateFile(file);
    try {
        return readCrate(mapped.bytes(), warnings);
    } catch (const FormatError& error) {
        throw FormatError(file.string() + ": " + error.what());
    }
}

} // namespace usd
