#include "PackageFixtures.h"

#include "SceneBuilding.h"

#include <SceneGraph/MaterialProperty.h>
#include <USD/crate_writer/CrateWriter.h>
#include <USD/package/PackageWriter.h>
#include <USD/scene_reader/SceneReader.h>
#include <fstream>
#include <gtest/gtest.h>
#include <zlib.h>

namespace usd::test {
namespace {

std::filesystem::path testFolder() {
    const auto folder = std::filesystem::path(::testing::TempDir()) / "ar_check";
    std::filesystem::create_directories(folder);
    return folder;
}

void appendU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void appendU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    appendU16(out, value & 0xFFFF);
    appendU16(out, value >> 16);
}

// The fields local and central headers share, from "version needed" to the extra length.
void appendEntryFields(std::vector<std::uint8_t>& out, const ArchiveFile& file,
                       std::uint16_t method, std::size_t extraLength) {
    const auto size = static_cast<std::uint32_t>(file.bytes.size());
    appendU16(out, 10);
    appendU16(out, 0);
    appendU16(out, method);
    appendU32(out, 0); // time and date
    appendU32(out, static_cast<std::uint32_t>(
                       crc32(0, file.bytes.data(), static_cast<uInt>(file.bytes.size()))));
    appendU32(out, size);
    appendU32(out, size);
    appendU16(out, static_cast<std::uint32_t>(file.name.size()));
    appendU16(out, static_cast<std::uint32_t>(extraLength));
}

// Padding that puts the data after a local header at `offset` on a multiple of 64 bytes.
std::size_t paddingFor(std::size_t offset, const ArchiveFile& file) {
    const std::size_t dataStart = offset + 30 + file.name.size();
    return (64 - dataStart % 64) % 64;
}

} // namespace

std::shared_ptr<scene::Scene> normalMappedQuad() {
    auto material = pbrMaterial();
    material->diffuse() = scene::MaterialProperty::withContents(pngImage({200, 120, 40}));
    material->normal() =
        scene::MaterialProperty::withContents(pngImage({128, 128, 255}, 2, 2, "normal.png"));
    auto geometry = quadGeometry(
        {floatSource(scene::GeometrySemantic::texcoord, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}),
         floatSource(scene::GeometrySemantic::normal,
                     {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}})});
    geometry->setMaterials({material});
    return sceneWithGeometry(geometry);
}

SceneLayer writtenQuad() {
    return buildSceneLayer(*normalMappedQuad(), "Model");
}

std::filesystem::path packaged(const SceneLayer& built, const std::string& fileName) {
    const std::vector<std::uint8_t> crate = writeCrate(built.layer);
    std::vector<PackageEntry> entries{{"Model.usdc", crate}};
    for (const PackagedFile& file : built.files)
        entries.push_back({file.name, file.bytes->span()});
    const auto path = testFolder() / fileName;
    writePackage(path, entries);
    return path;
}

std::vector<std::uint8_t> handMadeArchive(const std::vector<ArchiveFile>& files,
                                          ArchiveShape shape) {
    std::vector<std::uint8_t> archive;
    std::vector<std::uint8_t> directory;
    for (const ArchiveFile& file : files) {
        const auto offset = static_cast<std::uint32_t>(archive.size());
        // A padding of 1 to 3 bytes cannot be an extra record; 64 more are added then.
        std::size_t padding = shape.aligned ? paddingFor(offset, file) : 0;
        if (padding > 0 && padding < 4)
            padding += 64;
        appendU32(archive, 0x04034B50);
        appendEntryFields(archive, file, shape.method, padding);
        archive.insert(archive.end(), file.name.begin(), file.name.end());
        if (padding > 0) {
            appendU16(archive, 0x1986);
            appendU16(archive, static_cast<std::uint32_t>(padding - 4));
            archive.insert(archive.end(), padding - 4, 0);
        }
        archive.insert(archive.end(), file.bytes.begin(), file.bytes.end());
        appendU32(directory, 0x02014B50);
        appendU16(directory, 20); // version made by
        appendEntryFields(directory, file, shape.method, 0);
        appendU16(directory, 0); // comment length
        appendU16(directory, 0); // disk
        appendU16(directory, 0); // internal attributes
        appendU32(directory, 0); // external attributes
        appendU32(directory, offset);
        directory.insert(directory.end(), file.name.begin(), file.name.end());
    }
    const auto directoryOffset = static_cast<std::uint32_t>(archive.size());
    archive.insert(archive.end(), directory.begin(), directory.end());
    appendU32(archive, 0x06054B50);
    appendU32(archive, 0); // disk numbers
    appendU16(archive, static_cast<std::uint32_t>(files.size()));
    appendU16(archive, static_cast<std::uint32_t>(files.size()));
    appendU32(archive, static_cast<std::uint32_t>(directory.size()));
    appendU32(archive, directoryOffset);
    appendU16(archive, 0);
    return archive;
}

ar::PackageVerdict repairedAndChecked(const std::filesystem::path& package) {
    const auto scene = readUSDZ(package);
    if (!scene) {
        ADD_FAILURE() << "the scene reader could not read " << package;
        return {};
    }
    const auto repaired = testFolder() / (package.stem().string() + "-ar.usdz");
    const USDZWriteResult written = writeUSDZ(*scene, repaired);
    EXPECT_TRUE(written.succeeded) << written.failure;
    return ar::checkPackageFile(repaired);
}

std::vector<std::string> rulesOf(const ar::RuleProblems& problems) {
    std::vector<std::string> rules;
    for (const ar::RuleProblem& problem : problems)
        rules.push_back(problem.rule);
    return rules;
}

std::filesystem::path savedAs(const std::vector<std::uint8_t>& bytes, const std::string& fileName) {
    const auto path = testFolder() / fileName;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

} // namespace usd::test
