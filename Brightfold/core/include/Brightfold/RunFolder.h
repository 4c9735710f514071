#pragma once

#include <filesystem>

namespace brightfold {

// A private folder for the temporary packages of this run of the application:
// `<parent>/brightfold-<user id>/run-<process id>`. Creating it first removes the folders of
// earlier runs whose process no longer exists (what a crash left behind); destroying it
// removes it with everything in it. Throws std::filesystem::filesystem_error when the
// folder cannot be made safely (the user's folder exists but is not a folder of this user).
class RunFolder {
  public:
    explicit RunFolder(
        const std::filesystem::path& parent = std::filesystem::temp_directory_path());
    ~RunFolder();
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

} // namespace brightfold
