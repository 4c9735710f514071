#pragma once

#include <filesystem>
#include <gtest/gtest.h>

// The real-world files beside the repository; a test needing them skips when they are absent.
inline std::filesystem::path corpusFile(const std::string& relativePath) {
    return std::filesystem::path(BRIGHTFOLD_SHARED_DIR) / "corpus" / relativePath;
}

#define REQUIRE_CORPUS_FILE(file)                                                                  \
    if (!std::filesystem::exists(file)) {                                                          \
        GTEST_SKIP() << "../shared not found: " << (file);                                         \
    }
