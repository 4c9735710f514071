#include "WrittenPackageOracle.h"

#include "OracleRun.h"

namespace usd::test {

OpenedPackage writeAndOpen(const scene::Scene& scene, const std::string& fileName) {
    OpenedPackage opened;
    if (!std::filesystem::exists(oracleProgram())) {
        opened.skipReason = "usd-oracle not found: " + oracleProgram().string();
        return opened;
    }
    const auto folder = std::filesystem::path(BRIGHTFOLD_BINARY_DIR) / "oracle";
    std::filesystem::create_directories(folder);
    opened.package = folder / fileName;
    opened.written = writeUSDZ(scene, opened.package);
    if (!opened.written.succeeded)
        return opened;
    const OracleRun run = runOracle(opened.package);
    if (run.exitStatus == 2 || run.exitStatus == 127)
        opened.skipReason =
            "usd-oracle cannot run here (Node.js or its dependencies missing): " + run.complaint;
    opened.exitStatus = run.exitStatus;
    opened.complaint = run.complaint;
    opened.report = run.report;
    return opened;
}

} // namespace usd::test
