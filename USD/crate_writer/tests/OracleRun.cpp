#include "OracleRun.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <sys/wait.h>

namespace usd::test {
namespace {

std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

} // namespace

std::filesystem::path oracleProgram() {
    return std::filesystem::path(BRIGHTFOLD_SHARED_DIR) / "tools/usd-oracle/usd-oracle";
}

OracleRun runOracle(const std::filesystem::path& file) {
    // Beside our build, never beside the file: corpus files are read-only inputs.
    const auto folder = std::filesystem::path(BRIGHTFOLD_BINARY_DIR) / "oracle";
    std::filesystem::create_directories(folder);
    const auto errors = folder / (file.filename().string() + ".errors");
    const std::string command = quoted(oracleProgram()) + " --compact --timeout 120 " +
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
    return run;
}

} // namespace usd::test
