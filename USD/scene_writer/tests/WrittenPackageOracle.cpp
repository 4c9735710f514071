#include "WrittenPackageOracle.h"

#include "OracleRun.h"

namespace usd::test {

OpenedPackage writeAndOpen(const scene::Scene& scene, const std::string& fileName,
                           const WriteOptions& options) {
    OpenedPackage opened;
    if (!std::filesystem::exists(oracleProgram())) {
        opened.skipReason = "usd-oracle not found: " + oracleProgram().string();
        return opened;
    }
    const auto folder = std::filesystem::path(BRIGHTFOLD_BINARY_DIR) / "oracle";
    std::filesystem::create_directories(folder);
    opened.package = folder / fileName;
    opened.written = writeUSDZ(scene, opened.package, {}, {}, {}, options);
    if (!opened.written.succeeded)
        return opened;
    const OracleRun run = runOracle(opened.package);
    if (const auto missing = oracleUnavailable(run))
        opened.skipReason = "usd-oracle cannot run here: " + *missing;
    opened.exitStatus = run.exitStatus;
    opened.complaint = run.complaint;
    opened.report = run.report;
    return opened;
}

} // namespace usd::test
