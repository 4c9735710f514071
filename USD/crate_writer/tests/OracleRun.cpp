#include "OracleRun.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace usd::test {
namespace {

std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// A file of its own for each run: test cases of one name (the same corpus file, say) run at
// once under a parallel CTest and must not read each other's complaints.
std::filesystem::path uniqueErrorsFile(const std::filesystem::path& folder) {
    static std::atomic<unsigned> runs{0};
    return folder / ("oracle-" + std::to_string(::getpid()) + "-" + std::to_string(runs++) +
                     ".errors");
}

constexpr int kShellCommandNotFound = 127;
constexpr int kOracleUsageError = 2;

} // namespace

std::filesystem::path oracleProgram() {
    return std::filesystem::path(BRIGHTFOLD_SHARED_DIR) / "tools/usd-oracle/usd-oracle";
}

OracleRun runOracle(const std::filesystem::path& file, OracleEngines engines) {
    // Beside our build, never beside the file: corpus files are read-only inputs.
    const auto folder = std::filesystem::path(BRIGHTFOLD_BINARY_DIR) / "oracle";
    std::filesystem::create_directories(folder);
    const auto errors = uniqueErrorsFile(folder);
    const std::string engine = engines == OracleEngines::openUsdOnly ? "--engine openusd " : "";
    const std::string command = quoted(oracleProgram()) + " --compact --timeout 120 " + engine +
                                quoted(file) + " 2>" + quoted(errors);
    OracleRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    std::array<char, 65536> buffer;
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        run.report.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::getline(std::ifstream(errors), run.complaint);
    std::filesystem::remove(errors);
    return run;
}

std::optional<std::string> oracleUnavailable(const OracleRun& run) {
    if (run.exitStatus == kShellCommandNotFound)
        return "Node.js is not installed: " + run.complaint;
    if (run.exitStatus == kOracleUsageError &&
        run.complaint.find("dependencies are not installed") != std::string::npos)
        return run.complaint;
    return std::nullopt;
}

} // namespace usd::test
