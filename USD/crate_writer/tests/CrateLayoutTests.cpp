#include <USD/codec/ByteReader.h>
#include <USD/codec/CompressedIntegers.h>
#include <USD/codec/FramedLz4.h>
#include <USD/crate_writer/CrateWriter.h>
#include <USD/layer/LayerBuilder.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace usd {
namespace {

std::vector<std::uint8_t> fromHexListing(const std::string& listing) {
    std::vector<std::uint8_t> bytes;
    std::istringstream lines(listing);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line.substr(line.find(' ')));
        std::string word;
        while (words >> word)
            bytes.push_back(static_cast<std::uint8_t>(std::stoul(word, nullptr, 16)));
    }
    return bytes;
}

Layer minimalLayer() {
    Layer layer;
    LayerBuilder build(layer);
    build.setLayerMetadata("defaultPrim", Token{"Root"});
    build.setLayerMetadata("metersPerUnit", 1.0);
    build.setLayerMetadata("upAxis", Token{"Y"});
    build.definePrim(Path::fromString("/Root"), "Xform");
    return layer;
}

using Sections = std::map<std::string, std::span<const std::uint8_t>>;

Sections sectionsOf(std::span<const std::uint8_t> file) {
    ByteReader reader(file, 16);
    reader.seek(reader.read<std::uint64_t>());
    Sections sections;
    for (auto count = reader.read<std::uint64_t>(); count > 0; --count) {
        const auto name = reader.readBytes(16);
        const auto start = reader.read<std::uint64_t>();
        sections[reinterpret_cast<const char*>(name.data())] =
            file.subspan(start, reader.read<std::uint64_t>());
    }
    return sections;
}

// The FIELDS section's value references, decompressed.
std::vector<std::uint8_t> fieldValueReps(std::span<const std::uint8_t> fields) {
    ByteReader reader(fields);
    const auto count = reader.read<std::uint64_t>();
    readCompressedIntegers<std::uint32_t>(reader, count);
    const auto framed = reader.readBytes(reader.read<std::uint64_t>());
    std::vector<std::uint8_t> reps(count * 8);
    decompressFramed(framed, reps);
    return reps;
}

// The published 650-byte file with one Xform prim and three layer metadata
// fields, made with literal-only LZ4 blocks. Everything must match except the
// inside of LZ4 blocks where a real compressor finds repeats.
TEST(CrateWriter, WritesTheReferenceMinimalFileUpToLz4Choices) {
    const auto expected = fromHexListing(R"(0000  50 58 52 2D 55 53 44 43 00 08 00 00 00 00 00 00
0010  C2 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00
0020  00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00
0030  00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00
0040  00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00
0050  00 00 00 00 00 00 00 00 01 00 00 00 00 00 00 00
0060  01 00 00 00 0B 00 00 00 00 00 00 00 53 00 00 00
0070  00 00 00 00 56 00 00 00 00 00 00 00 00 F0 44 3B
0080  2D 29 00 52 6F 6F 74 00 59 00 64 65 66 61 75 6C
0090  74 50 72 69 6D 00 6D 65 74 65 72 73 50 65 72 55
00A0  6E 69 74 00 75 70 41 78 69 73 00 70 72 69 6D 43
00B0  68 69 6C 64 72 65 6E 00 00 58 66 6F 72 6D 00 73
00C0  70 65 63 69 66 69 65 72 00 74 79 70 65 4E 61 6D
00D0  65 00 00 00 00 00 00 00 00 00 06 00 00 00 00 00
00E0  00 00 0A 00 00 00 00 00 00 00 00 80 01 00 00 00
00F0  01 01 03 03 33 00 00 00 00 00 00 00 00 F0 21 01
0100  00 00 00 00 00 0B 40 00 00 80 3F 00 00 09 40 02
0110  00 00 00 00 00 0B 40 58 00 00 00 00 00 29 00 00
0120  00 00 00 00 00 2A 40 08 00 00 00 00 00 0B 40 08
0130  00 00 00 00 00 00 00 0C 00 00 00 00 00 00 00 00
0140  A0 01 00 00 00 01 45 00 FC 05 FA 02 00 00 00 00
0150  00 00 00 02 00 00 00 00 00 00 00 08 00 00 00 00
0160  00 00 00 00 60 01 00 00 00 01 00 08 00 00 00 00
0170  00 00 00 00 60 07 00 00 00 04 FA 07 00 00 00 00
0180  00 00 00 00 50 FF FF FF FF 00 02 00 00 00 00 00
0190  00 00 08 00 00 00 00 00 00 00 00 60 01 00 00 00
01A0  01 00 08 00 00 00 00 00 00 00 00 60 05 00 00 00
01B0  01 00 08 00 00 00 00 00 00 00 00 60 07 00 00 00
01C0  04 FF 06 00 00 00 00 00 00 00 54 4F 4B 45 4E 53
01D0  00 00 00 00 00 00 00 00 00 00 64 00 00 00 00 00
01E0  00 00 6E 00 00 00 00 00 00 00 53 54 52 49 4E 47
01F0  53 00 00 00 00 00 00 00 00 00 D2 00 00 00 00 00
0200  00 00 08 00 00 00 00 00 00 00 46 49 45 4C 44 53
0210  00 00 00 00 00 00 00 00 00 00 DA 00 00 00 00 00
0220  00 00 55 00 00 00 00 00 00 00 46 49 45 4C 44 53
0230  45 54 53 00 00 00 00 00 00 00 2F 01 00 00 00 00
0240  00 00 1C 00 00 00 00 00 00 00 50 41 54 48 53 00
0250  00 00 00 00 00 00 00 00 00 00 4B 01 00 00 00 00
0260  00 00 3F 00 00 00 00 00 00 00 53 50 45 43 53 00
0270  00 00 00 00 00 00 00 00 00 00 8A 01 00 00 00 00
0280  00 00 38 00 00 00 00 00 00 00)");
    ASSERT_EQ(expected.size(), 650u);
    const auto written = writeCrate(minimalLayer());

    const std::size_t valueAreaEnd = 100; // where TOKENS starts in both
    EXPECT_TRUE(std::equal(written.begin(), written.begin() + 16, expected.begin()));
    EXPECT_TRUE(
        std::equal(written.begin() + 24, written.begin() + valueAreaEnd, expected.begin() + 24));
    const Sections ours = sectionsOf(written), reference = sectionsOf(expected);
    ASSERT_EQ(ours.size(), 6u);
    for (const auto& [name, bytes] : reference) {
        SCOPED_TRACE(name);
        if (name == "FIELDS")
            EXPECT_EQ(fieldValueReps(ours.at(name)), fieldValueReps(bytes));
        else
            EXPECT_TRUE(std::ranges::equal(ours.at(name), bytes));
    }
}

TEST(CrateWriter, WritesTheSameBytesWhateverOrderTheLayerWasBuiltIn) {
    Layer forwards;
    LayerBuilder(forwards).definePrim(Path::fromString("/A"), "Xform");
    LayerBuilder(forwards).definePrim(Path::fromString("/B"), "Scope");
    Layer backwards;
    LayerBuilder(backwards).definePrim(Path::fromString("/B"), "Scope");
    LayerBuilder(backwards).definePrim(Path::fromString("/A"), "Xform");
    // Children order is content, so make it the same; only creation order differs.
    backwards.pseudoRoot() = forwards.pseudoRoot();

    EXPECT_EQ(writeCrate(forwards), writeCrate(backwards));
    EXPECT_EQ(writeCrate(forwards), writeCrate(forwards));
}

// A layer given up to the writer has each value let go once it is written; what is written
// must not change, even for a value stored once for two attributes.
TEST(CrateWriter, AConsumedLayerGivesTheSameBytes) {
    Layer layer;
    LayerBuilder build(layer);
    const Path mesh = build.definePrim(Path::fromString("/Mesh"), "Mesh");
    Array<std::int32_t> corners(100'000);
    for (std::size_t i = 0; i < corners.size(); ++i)
        corners[i] = static_cast<std::int32_t>(i % 977);
    build.addAttribute(mesh, "faceVertexIndices", {"int[]", corners});
    build.addAttribute(mesh, "primvars:st:indices", {"int[]", corners});
    build.addAttribute(mesh, "points", {"point3f[]", Array<Vec3f>(50'000, Vec3f{0.5f, 1, 2})});
    const std::vector<std::uint8_t> kept = writeCrate(layer);

    Layer consumed = layer;
    EXPECT_EQ(writeCrate(std::move(consumed)), kept);
    EXPECT_EQ(writeCrate(layer), kept) << "a layer passed by reference is left as it was";
}

TEST(CrateWriter, ReportsProgressForEveryLargeArrayAndEndsAtOne) {
    Layer layer;
    LayerBuilder build(layer);
    build.definePrim(Path::fromString("/Mesh"), "Mesh");
    for (const char* name : {"points", "normals", "velocities"})
        build.addAttribute(Path::fromString("/Mesh"), name,
                           {"point3f[]", Array<Vec3f>(200000, Vec3f{0.5f, 1.5f, 2.5f})});

    std::vector<double> reports;
    writeCrate(layer, [&](double fraction) { reports.push_back(fraction); });

    ASSERT_GE(reports.size(), 4u);
    EXPECT_TRUE(std::ranges::is_sorted(reports));
    EXPECT_GT(reports.front(), 0.0);
    EXPECT_EQ(reports.back(), 1.0);
}

TEST(CrateWriter, RefusesTextItCannotStore) {
    Layer layer;
    LayerBuilder(layer).setLayerMetadata("comment", std::string("nul\0inside", 10));
    EXPECT_THROW(writeCrate(layer), CrateWriteError);
}

} // namespace
} // namespace usd
