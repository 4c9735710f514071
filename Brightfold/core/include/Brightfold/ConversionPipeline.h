#pragma once

#include <Brightfold/ConversionServices.h>
#include <filesystem>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

namespace brightfold {

// A written and read-back temporary package.
struct ConvertedPackage {
    std::filesystem::path tempURL;
    // What the writer's self-check noticed (also among the notes).
    std::vector<std::string> writerNotes;
    // Everything the user should know: how the source was read, the writer's notes, what
    // the check of the package found beyond them and what the read-back left out, one
    // sentence each.
    std::vector<std::string> notes;
    // The written package against AR Quick Look's rules and budgets.
    PackageVerdict verdict;
    // The source's animation clips and those the package plays.
    AnimationClips clips;
};

// Hears how one background conversion goes. Called on the conversion's thread (progress may
// come from any thread the writer uses, even after the conversion ended); an implementation
// only hands the news on to the main thread.
class PipelineListener {
  public:
    virtual ~PipelineListener() = default;
    virtual void progressed(float progress) = 0;
    virtual void loadFailed(std::string description) = 0;
    virtual void exportFailed() = 0;
    virtual void previewReady(SceneHandle scene, ConvertedPackage package) = 0;
};

// The background half of a conversion: load the source, write it to a fresh temporary USDZ
// file named inside after the source, check it against AR Quick Look's rules and budgets, read
// it back and clear its background. Ends
// with exactly one of loadFailed, exportFailed or previewReady, unless a stop is requested:
// then it ends as soon as the running step notices, tells the listener nothing more and
// leaves no temporary file. A temporary file left by a failed write or read stays.
void runConversion(const std::filesystem::path& source, ConversionServices& services,
                   const std::shared_ptr<PipelineListener>& listener,
                   const ConversionOptions& options = {}, std::stop_token stop = {}) noexcept;

// The background half of showing an existing USD file: read it, clear its background and check
// it against AR Quick Look's rules and budgets. Ends with loadFailed or viewReady, or, once a
// stop is requested, with nothing.
class ViewListener {
  public:
    virtual ~ViewListener() = default;
    virtual void loadFailed(std::string description) = 0;
    virtual void viewReady(SceneHandle scene, std::vector<std::string> notes,
                           PackageVerdict verdict) = 0;
};
void runViewing(const std::filesystem::path& file, ConversionServices& services,
                ViewListener& listener, std::stop_token stop = {}) noexcept;

} // namespace brightfold
