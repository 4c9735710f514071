#pragma once

// Runs the independent USD readers beside the repository (../shared/tools/usd-oracle) on a
// file, for tests that check what other software sees in our output.

#include <filesystem>
#include <optional>
#include <string>

namespace usd::test {

// Where the oracle lives.
std::filesystem::path oracleProgram();

struct OracleRun {
    int exitStatus = -1;
    std::string report; // JSON on one line
    std::string complaint;
};

// Which of the oracle's readers to run: each is a Node.js process of its own, so a test that
// looks at one report only asks for that one.
enum class OracleEngines { both, openUsdOnly };

// Runs the engines on `file` (a package, layer or text file), keeping their stderr beside
// the build, never beside the file.
OracleRun runOracle(const std::filesystem::path& file,
                    OracleEngines engines = OracleEngines::both);

// Why the oracle could not run at all here (Node.js or its npm packages are not installed),
// for the test to skip with; nothing when it ran. Any other refusal, a command line the oracle
// no longer accepts among them, is a failure for the test to report, not a reason to skip.
std::optional<std::string> oracleUnavailable(const OracleRun& run);

} // namespace usd::test
