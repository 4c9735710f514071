#include "CorpusFiles.h"
#include "PackageTestSupport.h"

#include <BoundedRun.h>
#include <USD/package/PackageError.h>
#include <USD/package/PackageReader.h>
#include <functional>
#include <gmock/gmock.h>
#include <zlib.h>

namespace usd::test {
namespace {

using ::testing::HasSubstr;

const std::string layerText = "PXR-USDC pretend layer";
const std::string textureText = "pretend texture bytes";

// A valid two-entry package and where its records are, for tests that break
// one thing at a time.
struct SamplePackage {
    std::vector<std::uint8_t> archive;
    std::size_t central[2];   // central directory headers
    std::size_t local[2];     // local headers
    std::size_t dataStart[2]; // entry data

    SamplePackage() {
        const auto layer = bytesOf(layerText), texture = bytesOf(textureText);
        archive = packageBytes({{"scene.usdc", layer}, {"aa/b.png", texture}});
        central[0] = centralDirectoryOffset(archive);
        central[1] = central[0] + 46 + 10 + readU16(archive, central[0] + 30);
        for (int i = 0; i < 2; ++i) {
            local[i] = readU32(archive, central[i] + 42);
            dataStart[i] =
                local[i] + 30 + readU16(archive, local[i] + 26) + readU16(archive, local[i] + 28);
        }
    }

    // Applies `patch` at the same field of both headers of entry i.
    void patchBothU16(int i, std::size_t localField, std::size_t centralField,
                      std::uint16_t value) {
        patchU16(archive, local[i] + localField, value);
        patchU16(archive, central[i] + centralField, value);
    }

    void renameSecondEntry(std::string_view sameLengthName) {
        std::ranges::copy(sameLengthName, archive.begin() + static_cast<long>(local[1] + 30));
        std::ranges::copy(sameLengthName, archive.begin() + static_cast<long>(central[1] + 46));
    }
};

std::string refusal(const std::vector<std::uint8_t>& archive) {
    try {
        PackageReader reader(archive);
        return "accepted with " + std::to_string(reader.entries().size()) + " entries";
    } catch (const PackageError& error) {
        return error.what();
    }
}

TEST(PackageReader, GivesEntriesAsViewsIntoTheArchive) {
    const SamplePackage sample;
    const PackageReader reader(sample.archive);

    ASSERT_EQ(reader.entries().size(), 2u);
    EXPECT_EQ(reader.rootLayer().name, "scene.usdc");
    EXPECT_EQ(reader.rootLayer().bytes.data(), sample.archive.data() + sample.dataStart[0]);
    const PackageEntry* texture = reader.find("aa/b.png");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(std::string(texture->bytes.begin(), texture->bytes.end()), textureText);
    EXPECT_EQ(reader.find("missing.png"), nullptr);
}

TEST(PackageReader, RefusesUnsafeOrMalformedArchives) {
    struct Case {
        const char* what;
        std::function<void(SamplePackage&)> damage;
        const char* message;
    };
    const Case cases[] = {
        {"compressed entry", [](SamplePackage& p) { p.patchBothU16(1, 8, 10, 8); },
         "entry 'aa/b.png' is compressed (method 8)"},
        {"encrypted entry", [](SamplePackage& p) { p.patchBothU16(1, 6, 8, 1); },
         "entry 'aa/b.png' is encrypted"},
        {"compressed only in the local header",
         [](SamplePackage& p) { patchU16(p.archive, p.local[1] + 8, 8); }, "is compressed"},
        {"name climbing out", [](SamplePackage& p) { p.renameSecondEntry("../b.png"); },
         "entry name '../b.png' contains a '..' path component"},
        {"absolute name", [](SamplePackage& p) { p.renameSecondEntry("/a/b.png"); },
         "entry name '/a/b.png' is an absolute path"},
        {"local and central names differ",
         [](SamplePackage& p) { p.archive[p.local[1] + 30] = 'x'; },
         "different name in its local header"},
        {"corrupted data", [](SamplePackage& p) { p.archive[p.dataStart[1]] ^= 1; },
         "entry 'aa/b.png' is corrupt (CRC-32 mismatch)"},
        {"size past the end",
         [](SamplePackage& p) {
             patchU32(p.archive, p.central[1] + 20, 0x7FFFFFFF);
             patchU32(p.archive, p.central[1] + 24, 0x7FFFFFFF);
         },
         "entry 'aa/b.png' runs past the end of the archive data"},
        {"sizes disagree", [](SamplePackage& p) { patchU32(p.archive, p.central[1] + 20, 3); },
         "has different stored and original sizes"},
        {"header offset past the end",
         [](SamplePackage& p) { patchU32(p.archive, p.central[1] + 42, 0x10000000); },
         "entry 'aa/b.png' starts outside the archive"},
        {"ZIP64 marker", [](SamplePackage& p) { patchU32(p.archive, p.central[1] + 42, ~0u); },
         "needs ZIP64"},
        {"bad local signature", [](SamplePackage& p) { p.archive[p.local[1]] = 'X'; },
         "bad local header signature"},
        {"bad central signature", [](SamplePackage& p) { p.archive[p.central[1]] = 'X'; },
         "bad central directory header signature"},
        {"more entries than the directory holds",
         [](SamplePackage& p) {
             patchU16(p.archive, p.archive.size() - 22 + 8, 3);
             patchU16(p.archive, p.archive.size() - 22 + 10, 3);
         },
         "the central directory is truncated"},
        {"directory past its end record",
         [](SamplePackage& p) { patchU32(p.archive, p.archive.size() - 22 + 12, 0x100000); },
         "the central directory lies outside the archive"},
        {"split archive",
         [](SamplePackage& p) { patchU16(p.archive, p.archive.size() - 22 + 4, 1); },
         "several disks"},
        {"cut in half", [](SamplePackage& p) { p.archive.resize(p.archive.size() / 2); },
         "no zip end-of-central-directory record found"},
        {"empty input", [](SamplePackage& p) { p.archive.clear(); },
         "no zip end-of-central-directory record found"},
    };
    for (const Case& c : cases) {
        SamplePackage sample;
        c.damage(sample);
        EXPECT_THAT(refusal(sample.archive), HasSubstr(c.message)) << c.what;
    }
}

TEST(PackageReader, RefusesDuplicateNames) {
    const auto layer = bytesOf("layer"), texture = bytesOf("texture");
    auto archive = packageBytes({{"scene.usdc", layer}, {"a.png", texture}, {"b.png", texture}});
    replaceAll(archive, "b.png", "a.png");
    EXPECT_THAT(refusal(archive), HasSubstr("entry name 'a.png' appears twice"));
}

// An entry whose stated size swallows the next entry's header: its CRC is made
// to match, so only the overlap check can notice.
TEST(PackageReader, RefusesOverlappingEntries) {
    SamplePackage sample;
    const std::size_t swallowed = sample.local[1] + 40 - sample.dataStart[0];
    const auto bytes = std::span(sample.archive).subspan(sample.dataStart[0], swallowed);
    const auto crc = static_cast<std::uint32_t>(crc32_z(0, bytes.data(), bytes.size()));
    for (std::size_t header : {sample.local[0] + 14, sample.central[0] + 16})
        patchU32(sample.archive, header, crc);
    for (std::size_t size : {sample.local[0] + 18, sample.local[0] + 22, sample.central[0] + 20,
                             sample.central[0] + 24})
        patchU32(sample.archive, size, static_cast<std::uint32_t>(swallowed));

    EXPECT_THAT(refusal(sample.archive), HasSubstr("entries 'scene.usdc' and 'aa/b.png' overlap"));
}

// A zip entry's sizes may claim gigabytes (stored or compressed): the archive's own length
// bounds what is believed, so nothing is read or set aside for them.
TEST(PackageReader, EntriesClaimingGigabytesAreRefusedAtOnce) {
    for (const std::uint16_t method : {0, 8}) { // stored, deflated
        SamplePackage sample;
        sample.patchBothU16(0, 8, 10, method);
        for (std::size_t size : {sample.local[0] + 18, sample.local[0] + 22, sample.central[0] + 20,
                                 sample.central[0] + 24})
            patchU32(sample.archive, size, 0xFFFF'FFF0u);
        std::string failure;
        const auto run =
            brightfold::testing::measureBounded([&] { failure = refusal(sample.archive); });
        EXPECT_THAT(failure, HasSubstr("Not a valid USDZ package")) << method;
        EXPECT_LT(run.processorTime.count(), 1.0);
        EXPECT_LT(run.peakMemoryGrowthMiB, 64.0);
    }
}

TEST(PackageReader, ExplainsWhyAPackageHasNoUsableRootLayer) {
    const auto texture = bytesOf("texture");
    auto archive = packageBytes({{"scene.usdc", texture}});
    replaceAll(archive, "scene.usdc", "scene.png!");
    const PackageReader reader(archive);
    EXPECT_THROW(
        {
            try {
                reader.rootLayer();
            } catch (const PackageError& error) {
                EXPECT_THAT(error.what(),
                            HasSubstr("starts with 'scene.png!', which is not a USD layer"));
                throw;
            }
        },
        PackageError);
}

TEST(PackageReader, NamesTheFileItCannotOpen) {
    const auto missing = scratchPath("does-not-exist.usdz");
    EXPECT_THAT(refusal({}), HasSubstr("Not a valid USDZ package"));
    try {
        PackageReader::open(missing);
        FAIL() << "opened a missing file";
    } catch (const PackageError& error) {
        EXPECT_THAT(error.what(), HasSubstr("Cannot open '" + missing.string() + "'"));
    }
    const auto empty = scratchPath("empty.usdz");
    std::ofstream{empty};
    try {
        PackageReader::open(empty);
        FAIL() << "opened an empty file";
    } catch (const PackageError& error) {
        EXPECT_THAT(error.what(),
                    HasSubstr("'" + empty.string() + "' is not a valid USDZ package"));
    }
}

// Checked alongside, a package opens before its checksums are known; a corrupt entry is then
// reported by confirmChecksums, every time it is asked, with open's own message.
TEST(PackageReader, ChecksAlongsideAndReportsACorruptEntryWhenConfirmed) {
    SamplePackage sample;
    const auto intact = scratchPath("intact.usdz");
    writeBytes(intact, sample.archive);
    const PackageReader fine =
        PackageReader::open(intact, PackageReader::ChecksumTiming::alongside);
    EXPECT_NO_THROW(fine.confirmChecksums());
    EXPECT_EQ(fine.rootLayer().name, "scene.usdc");

    sample.archive[sample.dataStart[1]] ^= 1;
    const auto corrupt = scratchPath("corrupt.usdz");
    writeBytes(corrupt, sample.archive);
    const PackageReader reader =
        PackageReader::open(corrupt, PackageReader::ChecksumTiming::alongside);
    ASSERT_EQ(reader.entries().size(), 2u);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            reader.confirmChecksums();
            ADD_FAILURE() << "a corrupt entry was confirmed";
        } catch (const PackageError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "'" + corrupt.string() +
                          "' is not a valid USDZ package: entry 'aa/b.png' is corrupt "
                          "(CRC-32 mismatch)");
        }
    }
    EXPECT_THROW(PackageReader::open(corrupt), PackageError);
}

TEST(PackageReader, ReadsEveryPackageOfTheCorpus) {
    const std::filesystem::path corpus = brightfold::testing::corpus / "usd";
    if (!std::filesystem::is_directory(corpus))
        GTEST_SKIP() << "../shared not found: " << corpus;
    int packages = 0;
    for (const auto& file : std::filesystem::recursive_directory_iterator(corpus)) {
        if (file.path().extension() != ".usdz")
            continue;
        ++packages;
        SCOPED_TRACE(file.path().string());
        const PackageReader reader = PackageReader::open(file.path());
        const PackageEntry& root = reader.rootLayer();
        EXPECT_FALSE(root.bytes.empty());
        for (const PackageEntry& entry : reader.entries())
            EXPECT_EQ(reader.find(entry.name), &entry);
    }
    EXPECT_GT(packages, 0);
}

} // namespace
} // namespace usd::test
