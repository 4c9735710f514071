#pragma once

// Runs the independent USD readers beside the repository (../shared/tools/usd-oracle) on a
// file, for tests that check what other software sees in our output.

#include <filesystem>
#include <string>

namespace usd::test {

// Where the oracle lives.
std::filesystem::path oracleProgram();

struct OracleRun {
    int exitStatus = -1;
    std::string report; // JSON on one line
    std::string complaint;
};

// Runs both engines on `file` (a package, layer or text file), keeping their stderr beside
// the build, never beside the file.
OracleRun runOracle(const std::filesystem::path& file);

} // namespace usd::test
