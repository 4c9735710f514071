#pragma once

#include <Brightfold/AnimationClips.h>
#include <Brightfold/ConversionOptions.h>
#include <Brightfold/PackageVerdict.h>
#include <Brightfold/SceneHandle.h>
#include <filesystem>
#include <functional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace brightfold {

// Receives the writer's total progress, 0 to 1, on any thread.
using ProgressHandler = std::function<void(float)>;

struct USDZWriteResult {
    bool succeeded = false;
    // What the writer's self-check noticed about the package it wrote (may be empty).
    std::vector<std::string> notes;
    AnimationClips clips;
};

// Everything the conversion workflow needs from the outside world, behind one seam so the
// workflow can be driven by fakes. Methods may be called from several conversion threads
// at once; implementations must be safe for that. Failures are thrown as exceptions whose
// what() is a description fit to show the user. The long steps take the conversion's stop
// token and, once a stop is requested, end early by throwing or failing; the caller then
// ignores whatever they throw or return.
class ConversionServices {
  public:
    virtual ~ConversionServices() = default;

    // The project's own glTF reader; throws when it refuses the file for any reason.
    virtual SceneHandle loadWithGLTFReader(const std::filesystem::path& file,
                                           std::stop_token stop) = 0;
    // The general model importer (.usdc files, and glTF files the reader refused).
    virtual SceneHandle importModel(const std::filesystem::path& file, std::stop_token stop) = 0;
    virtual bool hasGeometry(const scene::Scene& scene) = 0;
    // What the reader or importer that made `scene` left out or approximated, one sentence
    // each (none by default).
    virtual std::vector<std::string> loadNotes(const scene::Scene& /*scene*/) { return {}; }

    // Writes the scene as a USDZ package whose root prim, default prim and root layer are
    // named after `packageName` (made a valid identifier), shaped by `options`; a failure is
    // reported in the result, not thrown.
    virtual USDZWriteResult writeUSDZ(const scene::Scene& scene,
                                      const std::filesystem::path& destination,
                                      const std::string& packageName,
                                      const ConversionOptions& options,
                                      const ProgressHandler& progress, std::stop_token stop) = 0;
    // Reads a USDZ package (or a bare .usdc layer); what it had to leave out or change goes
    // to `notes`, one sentence each.
    virtual SceneHandle readUSDZ(const std::filesystem::path& file,
                                 std::vector<std::string>& notes) = 0;
    // Checks a package (ours or another tool's, or a bare .usdc layer) against AR Quick Look's
    // rules and budgets, the texture budget being the options'. Never throws for what the file
    // holds: a file that cannot be read is a broken rule.
    virtual PackageVerdict checkPackage(const std::filesystem::path& file,
                                        const ConversionOptions& options) = 0;
    // Makes the scene's backdrop transparent so the preview floats on the window.
    virtual void clearBackground(scene::Scene& scene) = 0;

    virtual std::filesystem::path temporaryDirectory() = 0;
    // A fresh random identifier in canonical upper-case text (36 characters).
    virtual std::string makeIdentifier() = 0;
    // Puts `from` at `to`, replacing what is there; on failure throws and changes nothing.
    virtual void moveReplacing(const std::filesystem::path& from,
                               const std::filesystem::path& to) = 0;
    // Deletes the file if it can; failures are not reported.
    virtual void removeFileQuietly(const std::filesystem::path& file) = 0;
    // Writes one line to standard output.
    virtual void printLine(std::string_view line) = 0;
};

} // namespace brightfold
