#include "Sections.h"

#include "IntegerBlocks.h"

#include <USD/codec/FramedLz4.h>
#include <algorithm>

namespace usd::crate {
namespace {

struct SectionRecord {
    std::string_view name;
    std::uint64_t start;
    std::uint64_t size;
};

void appendFramed(ByteSink& out, std::span<const std::uint8_t> bytes) {
    const std::vector<std::uint8_t> framed = compressFramed(bytes);
    out.append(static_cast<std::uint64_t>(framed.size()));
    out.appendBytes(framed);
}

void writeTokens(ByteSink& out, const std::vector<std::string>& tokens) {
    std::vector<std::uint8_t> blob;
    for (const std::string& token : tokens) {
        blob.insert(blob.end(), token.begin(), token.end());
        blob.push_back(0);
    }
    out.append(static_cast<std::uint64_t>(tokens.size()));
    out.append(static_cast<std::uint64_t>(blob.size()));
    appendFramed(out, blob);
}

void writeStrings(ByteSink& out, const std::vector<std::uint32_t>& strings) {
    out.append(static_cast<std::uint64_t>(strings.size()));
    out.appendElements<std::uint32_t>(strings);
}

void writeFields(ByteSink& out, const StructuralTables& tables) {
    out.append(static_cast<std::uint64_t>(tables.fieldNameTokens.size()));
    appendIntegerBlock(out, tables.fieldNameTokens);
    // Value references are only LZ4-compressed, never integer-coded.
    const auto& reps = tables.fieldValueReps;
    appendFramed(out, {reinterpret_cast<const std::uint8_t*>(reps.data()), reps.size() * 8});
}

void writeFieldSets(ByteSink& out, const std::vector<std::uint32_t>& fieldSets) {
    out.append(static_cast<std::uint64_t>(fieldSets.size()));
    appendIntegerBlock(out, fieldSets);
}

void writePaths(ByteSink& out, const StructuralTables& tables) {
    out.append(static_cast<std::uint64_t>(tables.pathTableSize));
    out.append(static_cast<std::uint64_t>(tables.pathTree.pathIndexes.size()));
    appendIntegerBlock(out, tables.pathTree.pathIndexes);
    appendIntegerBlock(out, tables.pathTree.elementTokenIndexes);
    appendIntegerBlock(out, tables.pathTree.jumps);
}

void writeSpecs(ByteSink& out, const StructuralTables& tables) {
    out.append(static_cast<std::uint64_t>(tables.specPaths.size()));
    appendIntegerBlock(out, tables.specPaths);
    appendIntegerBlock(out, tables.specFieldSets);
    appendIntegerBlock(out, tables.specTypes);
}

template <typename WriteSection>
SectionRecord writeSection(ByteSink& out, std::string_view name, WriteSection&& write) {
    const std::uint64_t start = out.size();
    write();
    return {name, start, out.size() - start};
}

void writeTableOfContents(ByteSink& out, const std::vector<SectionRecord>& sections) {
    out.append(static_cast<std::uint64_t>(sections.size()));
    for (const SectionRecord& record : sections) {
        std::array<char, kSectionNameSize> name{};
        std::ranges::copy(record.name, name.begin());
        out.append(name);
        out.append(static_cast<std::int64_t>(record.start));
        out.append(static_cast<std::int64_t>(record.size));
    }
}

void fillBootstrap(ByteSink& out, Version version, std::uint64_t tocOffset) {
    std::array<char, kMagic.size()> magic;
    std::ranges::copy(kMagic, magic.begin());
    out.patch(0, magic);
    out.patch(8, std::array<std::uint8_t, 3>{version.major, version.minor, version.patch});
    out.patch(16, static_cast<std::int64_t>(tocOffset));
}

} // namespace

void writeSectionsAndBootstrap(ByteSink& out, const StructuralTables& tables, Version version) {
    const std::vector<SectionRecord> sections{
        writeSection(out, section::kTokens, [&] { writeTokens(out, tables.tokens); }),
        writeSection(out, section::kStrings, [&] { writeStrings(out, tables.strings); }),
        writeSection(out, section::kFields, [&] { writeFields(out, tables); }),
        writeSection(out, section::kFieldSets, [&] { writeFieldSets(out, tables.fieldSets); }),
        writeSection(out, section::kPaths, [&] { writePaths(out, tables); }),
        writeSection(out, section::kSpecs, [&] { writeSpecs(out, tables); }),
    };
    const std::uint64_t tocOffset = out.size();
    writeTableOfContents(out, sections);
    fillBootstrap(out, version, tocOffset);
}

} // namespace usd::crate
