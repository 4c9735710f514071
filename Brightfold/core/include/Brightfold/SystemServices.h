#pragma once

#include <Brightfold/ConversionServices.h>

namespace brightfold {

// The file-system, identifier and console half of the services, done for real. The
// application derives from this and supplies the scene half (reader, importer, USDZ).
class SystemServices : public ConversionServices {
  public:
    // Temporary packages go to `temporaryDirectory`, or to the system's when it is empty.
    explicit SystemServices(std::filesystem::path temporaryDirectory = {})
        : temporaryDirectory_(std::move(temporaryDirectory)) {}

    std::filesystem::path temporaryDirectory() override;
    std::string makeIdentifier() override;
    void moveReplacing(const std::filesystem::path& from, const std::filesystem::path& to) override;
    void removeFileQuietly(const std::filesystem::path& file) override;
    void printLine(std::string_view line) override;

  private:
    std::filesystem::path temporaryDirectory_;
};

} // namespace brightfold
