#pragma once

#include <GLTFReader/ByteSlice.h>
#include <GLTFReader/GLTFExtensionRegistry.h>
#include <GLTFReader/GLTFGlTF.h>
#include <GLTFReader/UnarchiverCaches.h>
#include <filesystem>
#include <optional>

// Reads one .gltf or .glb file: checks and splits the container, decodes the JSON document and
// prepares one cache per kind of glTF object for the loaders that build scene objects from it.
// Construction throws GLTFUnarchiveError for container faults and refused documents,
// gltf::DecodingError for JSON that does not decode, and gltf::FileError for unreadable files.
// One unarchiver serves one thread at a time.
class GLTFUnarchiver {
  public:
    // Relative URIs in the document resolve against the process's current directory.
    explicit GLTFUnarchiver(gltf::ByteBlock data, const GLTFExtensionRegistry& callerRegistry = {});

    // Reads the whole file; relative URIs resolve against its directory.
    explicit GLTFUnarchiver(const std::filesystem::path& path,
                            const GLTFExtensionRegistry& callerRegistry = {});

    const std::optional<std::filesystem::path>& directoryPath() const { return directoryPath_; }
    const GLTFGlTF& json() const { return json_; }
    const std::optional<gltf::ByteSlice>& bin() const { return bin_; }
    const gltf::UnarchiverCaches& caches() const { return caches_; }

  private:
    GLTFUnarchiver(gltf::ByteBlock data, std::optional<std::filesystem::path> directoryPath,
                   const GLTFExtensionRegistry& callerRegistry);

    std::optional<std::filesystem::path> directoryPath_;
    GLTFGlTF json_;
    std::optional<gltf::ByteSlice> bin_;
    gltf::UnarchiverCaches caches_;
};
