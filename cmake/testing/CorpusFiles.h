#pragma once

// The shared corpus of real files beside the repository. A test that needs it skips, with a
// visible message, when it is absent.

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace brightfold::testing {

inline const std::filesystem::path corpus = std::filesystem::path(BRIGHTFOLD_SHARED_DIR) / "corpus";

inline std::filesystem::path corpusFile(const std::string& relativePath) {
    return corpus / relativePath;
}

inline bool corpusMissing() {
    return !std::filesystem::exists(corpus / "manifest.json");
}

// The glTF, GLB and VRM documents the manifest lists, as paths below the corpus folder.
std::vector<std::string> corpusDocumentPaths();

} // namespace brightfold::testing

#define REQUIRE_CORPUS_FILE(file)                                                                  \
    if (!std::filesystem::exists(file)) {                                                          \
        GTEST_SKIP() << "../shared not found: " << (file);                                         \
    }
