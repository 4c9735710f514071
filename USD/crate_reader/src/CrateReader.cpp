#include "CrateLayout.h"
#include "PathTable.h"
#include "SpecAssembly.h"
#include "StructuralSections.h"

#include <USD/CrateReader.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

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
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        throw FormatError(file.string() + ": cannot open: " + std::strerror(errno));
    }
    // One read of the whole file: crate files run to hundreds of megabytes.
    stream.seekg(0, std::ios::end);
    std::vector<std::uint8_t> bytes(
        static_cast<std::size_t>(std::max<std::streamoff>(stream.tellg(), 0)));
    stream.seekg(0);
    stream.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (stream.bad() || stream.gcount() != static_cast<std::streamsize>(bytes.size())) {
        throw FormatError(file.string() + ": cannot read: " + std::strerror(errno));
    }
    try {
        return readCrate(bytes, warnings);
    } catch (const FormatError& error) {
        throw FormatError(file.string() + ": " + error.what());
    }
}

} // namespace usd
