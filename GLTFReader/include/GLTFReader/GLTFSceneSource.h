#pragma once

#include <GLTFReader/GLTFUnarchiver.h>
#include <exception>
#include <filesystem>
#include <memory>
#include <stop_token>

// What the application opens a .gltf or .glb file with. Construction never throws: it keeps
// either the unarchiver (`loader`) or the failure that prevented it (`error`).
class GLTFSceneSource {
  public:
    GLTFSceneSource() = default;

    // Reads the file; relative URIs in it resolve against its directory.
    explicit GLTFSceneSource(const std::filesystem::path& url,
                             const GLTFExtensionRegistry& callerRegistry = {});

    // Relative URIs resolve against the process's current directory.
    explicit GLTFSceneSource(gltf::ByteBlock data);

    GLTFUnarchiver* loader() const { return loader_.get(); }
    std::exception_ptr error() const { return error_; }

    // The unarchiver to build the scene with. Without one, rethrows the failure kept at
    // construction, or GLTFUnarchiveError Unknown "loader is not initialized".
    GLTFUnarchiver& requireLoader() const;

    // The document's scene; when it names none, its root nodes as one scene. Throws what
    // requireLoader throws, or the first failure of the loaders; no partial scene is returned.
    // Loading ends early, with an error, once a stop is requested through `stop`.
    std::shared_ptr<scene::Scene> sceneWithOptions(std::stop_token stop = {}) const;

  private:
    template <class... Arguments> void keepLoaderOrError(Arguments&&... arguments);

    std::unique_ptr<GLTFUnarchiver> loader_;
    std::exception_ptr error_;
};
