#pragma once

#include <Brightfold/Identifier.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// A fresh folder under the system temporary directory, removed with everything in it.
class TestFolder {
  public:
    TestFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("brightfold-core-test-" + brightfold::makeUpperCaseUUID())) {
        std::filesystem::create_directories(path_);
    }
    ~TestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    std::filesystem::path write(const std::string& name, const std::string& contents) const {
        const auto file = path_ / name;
        std::ofstream(file, std::ios::binary) << contents;
        return file;
    }

  private:
    std::filesystem::path path_;
};

inline std::string contentsOf(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}
