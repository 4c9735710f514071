#include "PrimNames.h"
#include "ProgressRange.h"

#include <USD/crate_writer/CrateWriter.h>
#include <USD/package/PackageWriter.h>
#include <USD/scene_writer/SceneWriter.h>
#include <exception>
#include <stdexcept>

namespace usd {
namespace {

// Shares of the whole write: building the layer, encoding the crate, writing the package.
constexpr double layerShare = 0.3;
constexpr double crateShare = 0.9;

// Progress steps are where a stop request is noticed: the throw unwinds the write.
SceneWriteProgress stoppable(const SceneWriteProgress& progress, std::stop_token stop) {
    if (!stop.stop_possible())
        return progress;
    return [progress, stop](double fraction) {
        if (stop.stop_requested())
            throw std::runtime_error("the write was stopped");
        if (progress)
            progress(fraction);
    };
}

USDZWriteResult writePackageFile(const scene::Scene& scene, const std::filesystem::path& url,
                                 const std::string& packageName, const SceneWriteProgress& progress,
                                 const WriteOptions& options) {
    USDZWriteResult result;
    const std::string rootName =
        writer::sanitizedPrimName(packageName.empty() ? url.stem().string() : packageName, "Root");
    SceneLayer built = buildSceneLayer(
        scene, rootName, writer::ProgressRange(progress, 0, layerShare).callback(), options);
    result.notes = std::move(built.notes);
    result.clips = std::move(built.clips);
    // The check goes first: the crate encoder then lets each array go once it is encoded, so
    // that a big mesh's arrays and their encoded bytes are not all held at once.
    for (std::string& finding : checkWrittenLayer(scene, built.layer, &built.files))
        result.notes.push_back(std::move(finding));
    const std::vector<std::uint8_t> crate = writeCrate(
        std::move(built.layer), writer::ProgressRange(progress, layerShare, crateShare).callback());
    std::vector<PackageEntry> entries{{rootName + ".usdc", crate}};
    for (const PackagedFile& file : built.files)
        entries.push_back({file.name, file.bytes->span()});
    writePackage(url, entries);
    result.succeeded = true;
    return result;
}

} // namespace

USDZWriteResult writeUSDZ(const scene::Scene& scene, const std::filesystem::path& url,
                          const SceneWriteProgress& progress, const std::string& packageName,
                          std::stop_token stop, const WriteOptions& options) {
    USDZWriteResult result;
    try {
        result = writePackageFile(scene, url, packageName, stoppable(progress, stop), options);
    } catch (const std::exception& error) {
        result.succeeded = false;
        result.failure = "The USDZ file could not be written: " + std::string(error.what());
    }
    if (progress)
        progress(1.0);
    return result;
}

} // namespace usd
