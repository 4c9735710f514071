#include "PackageTestSupport.h"

#include <USD/package/PackageError.h>
#include <USD/package/PackageReader.h>
#include <gmock/gmock.h>
#include <zlib.h>

namespace usd::test {
namespace {

using ::testing::HasSubstr;

std::uint32_t zlibCrc(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint32_t>(crc32_z(0, bytes.data(), bytes.size()));
}

// The reference layout: a 2,396-byte layer and a 1,000-byte texture land at
// offsets 64 and 2560, with the central directory at 3560 and 3,778 bytes in
// total.
TEST(PackageWriter, LaysOutTheReferencePackageByteForByte) {
    const std::vector<std::uint8_t> layer(2396, 0xAB), texture(1000, 0xCD);
    const auto archive = packageBytes({{"scene.usdc", layer}, {"textures/albedo.png", texture}});

    ASSERT_EQ(archive.size(), 3778u);
    EXPECT_EQ(readU32(archive, 0), 0x04034B50u);
    EXPECT_EQ(readU16(archive, 4), 10); // version needed
    EXPECT_EQ(readU16(archive, 6), 0);  // flags: no data descriptor, no encryption
    EXPECT_EQ(readU16(archive, 8), 0);  // stored
    EXPECT_EQ(readU32(archive, 14), zlibCrc(layer));
    EXPECT_EQ(readU32(archive, 18), 2396u); // both sizes in the local header
    EXPECT_EQ(readU32(archive, 22), 2396u);
    EXPECT_EQ(readU16(archive, 28), 24); // alignment extra field
    EXPECT_EQ(readU16(archive, 40), 0x1986);
    EXPECT_EQ(readU16(archive, 42), 20);
    EXPECT_EQ(archive[64], 0xAB);

    EXPECT_EQ(readU32(archive, 2460), 0x04034B50u);
    EXPECT_EQ(readU32(archive, 2460 + 14), zlibCrc(texture));
    EXPECT_EQ(readU16(archive, 2460 + 28), 51);
    EXPECT_EQ(archive[2560], 0xCD);

    EXPECT_EQ(centralDirectoryOffset(archive), 3560u);
    EXPECT_EQ(readU32(archive, 3560), 0x02014B50u);
    EXPECT_EQ(readU32(archive, 3560 + 42), 0u);    // local header of the first entry
    EXPECT_EQ(readU32(archive, 3640 + 42), 2460u); // 3640 = 3560 + 46 + 10 + 24
    EXPECT_EQ(readU16(archive, 3756 + 10), 2);     // total entries
    EXPECT_EQ(readU32(archive, 3756 + 12), 196u);  // central directory size
}

// Every name length gives a different padding, including the ones where fewer
// than four bytes would be needed and a whole extra 64 bytes is added.
TEST(PackageWriter, AlignsEveryEntryAndReadsBackWhatItWrote) {
    std::vector<std::string> names{"root.usdc"};
    std::vector<std::vector<std::uint8_t>> contents{bytesOf("PXR-USDC")};
    for (std::size_t length = 1; length <= 70; ++length) {
        names.push_back(std::string(length, 'n') + ".png");
        contents.emplace_back(length * 7 % 131, static_cast<std::uint8_t>(length));
    }
    std::vector<PackageEntry> entries;
    for (std::size_t i = 0; i < names.size(); ++i)
        entries.push_back({names[i], contents[i]});

    const auto archive = packageBytes(entries);
    const PackageReader reader(archive);

    ASSERT_EQ(reader.entries().size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const PackageEntry& read = reader.entries()[i];
        EXPECT_EQ(read.name, names[i]);
        EXPECT_TRUE(std::ranges::equal(read.bytes, contents[i])) << read.name;
        EXPECT_EQ((read.bytes.data() - archive.data()) % 64, 0) << read.name;
    }
    EXPECT_EQ(reader.rootLayer().name, "root.usdc");
}

TEST(PackageWriter, WritesTheSameBytesForTheSameEntries) {
    const auto layer = bytesOf("#usda 1.0\n");
    const std::vector<PackageEntry> entries{{"a.usda", layer}, {"empty.png", {}}};
    EXPECT_EQ(packageBytes(entries), packageBytes(entries));
}

TEST(PackageWriter, RefusesPackagesThatBreakThePackageRules) {
    const auto data = bytesOf("data");
    const auto path = scratchPath("refused.usdz");
    const auto refusal = [&](std::vector<PackageEntry> entries) {
        try {
            writePackage(path, entries);
        } catch (const PackageError& error) {
            EXPECT_FALSE(std::filesystem::exists(path));
            return std::string(error.what());
        }
        return std::string("written");
    };

    EXPECT_THAT(refusal({}), HasSubstr("must start with its root USD layer"));
    EXPECT_THAT(refusal({{"texture.png", data}, {"scene.usdc", data}}),
                HasSubstr("must start with its root USD layer"));
    EXPECT_THAT(refusal({{"scene.usdc", data}, {"../escape.png", data}}),
                HasSubstr("'../escape.png' in a USDZ package: the name contains a '..'"));
    EXPECT_THAT(refusal({{"scene.usdc", data}, {"/etc/passwd.png", data}}),
                HasSubstr("is an absolute path"));
    EXPECT_THAT(refusal({{"scene.usdc", data}, {"a.png", data}, {"a.png", data}}),
                HasSubstr("Cannot store 'a.png' twice"));
    EXPECT_THAT(refusal({{"scene.usdc", data}, {std::string(70000, 'x') + ".png", data}}),
                HasSubstr("the name is too long"));
}

TEST(PackageWriter, ReportsAFileThatCannotBeCreated) {
    const auto data = bytesOf("data");
    const std::vector<PackageEntry> entries{{"scene.usdc", data}};
    const auto path = scratchPath("no-such-folder") / "out.usdz";
    try {
        writePackage(path, entries);
        FAIL() << "wrote into a missing folder";
    } catch (const PackageError& error) {
        EXPECT_THAT(error.what(), HasSubstr("Cannot create '" + path.string() + "'"));
        EXPECT_THAT(error.what(), HasSubstr("No such file or directory"));
    }
}

} // namespace
} // namespace usd::test
