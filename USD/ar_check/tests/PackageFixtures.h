#pragma once

// Small packages for the checker's tests: a textured, normal-mapped quad as the writer makes
// it, the same layer broken in one way, and archives the package writer would never write.

#include <SceneGraph/Scene.h>
#include <USD/ar_check/PackageCheck.h>
#include <USD/layer/Layer.h>
#include <USD/scene_writer/SceneWriter.h>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace usd::test {

// A quad with a base-colour texture and a normal map, root prim "Model".
std::shared_ptr<scene::Scene> normalMappedQuad();

// The layer and files the writer makes of it.
SceneLayer writtenQuad();

// Writes the layer and files as a package in the test folder; returns its path.
std::filesystem::path packaged(const SceneLayer& built, const std::string& fileName);

// One stored file of a hand-made archive.
struct ArchiveFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// A zip archive of the files in that order, each one's data 64-byte aligned or right after its
// header, its method field set to `method` (the data is left as it is).
struct ArchiveShape {
    bool aligned = true;
    std::uint16_t method = 0;
};
std::vector<std::uint8_t> handMadeArchive(const std::vector<ArchiveFile>& files,
                                          ArchiveShape shape = {});

// The package read by the scene reader and written again for AR Quick Look, then checked.
ar::PackageVerdict repairedAndChecked(const std::filesystem::path& package);

// The names of the rules a verdict's problems break, in order.
std::vector<std::string> rulesOf(const ar::RuleProblems& problems);

// Writes bytes to a file of the test folder; returns its path.
std::filesystem::path savedAs(const std::vector<std::uint8_t>& bytes, const std::string& fileName);

} // namespace usd::test
