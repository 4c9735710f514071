#pragma once

#include <Brightfold/ConversionServices.h>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace brightfold {

// Hears how one background conversion goes. Called on the conversion's thread (progress may
// come from any thread the writer uses, even after the conversion ended); an implementation
// only hands the news on to the main thread.
class PipelineListener {
  public:
    virtual ~PipelineListener() = default;
    virtual void progressed(float progress) = 0;
    virtual void loadFailed(std::string description) = 0;
    virtual void exportFailed() = 0;
    virtual void previewReady(SceneHandle scene, std::filesystem::path tempURL,
                              std::vector<std::string> writerFindings) = 0;
};

// The background half of a conversion: load the source, write it to a fresh temporary USDZ
// file, read that file back and clear its background. Ends with exactly one of loadFailed,
// exportFailed or previewReady. A temporary file left by a failed write or read stays.
void runConversion(const std::filesystem::path& source, ConversionServices& services,
                   const std::shared_ptr<PipelineListener>& listener) noexcept;

} // namespace brightfold
