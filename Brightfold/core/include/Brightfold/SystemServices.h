#pragma once

#include <Brightfold/ConversionServices.h>

namespace brightfold {

// The file-system, identifier and console half of the services, done for real. The
// application derives from this and supplies the scene half (reader, importer, USDZ).
class SystemServices : public ConversionServices {
  public:
    std::filesystem::path temporaryDirectory() override;
    std::string makeIdentifier() override;
    void moveReplacing(const std::filesystem::path& from, const std::filesystem::path& to) override;
    void removeFileQuietly(const std::filesystem::path& file) override;
    void printLine(std::string_view line) override;
};

} // namespace brightfold
