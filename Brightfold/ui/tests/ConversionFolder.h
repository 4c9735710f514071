#pragma once

#include "ScriptedServices.h"

#include <filesystem>
#include <memory>

// A private folder for one test: a source model, and the temporary directory of scripted
// services that convert it. Removed with everything in it when the test ends.
class ConversionFolder {
  public:
    ConversionFolder();
    ~ConversionFolder();
    ConversionFolder(const ConversionFolder&) = delete;
    ConversionFolder& operator=(const ConversionFolder&) = delete;

    const std::filesystem::path& root() const { return root_; }
    // "model.glb" in the folder.
    const std::filesystem::path& source() const { return source_; }
    const std::shared_ptr<ScriptedServices>& services() const { return services_; }

  private:
    std::filesystem::path root_;
    std::filesystem::path source_;
    std::shared_ptr<ScriptedServices> services_;
};
