// Crate writing and reading of a one-million-point mesh layer, and packaging it, each timed
// against moving the same number of plain bytes between memory and a file in the same run.
#include "MeshLayer.h"

#include <BenchSupport/PairedTiming.h>
#include <BenchSupport/RawFileIo.h>
#include <USD/crate_reader/CrateReader.h>
#include <USD/crate_writer/CrateWriter.h>
#include <USD/package/PackageWriter.h>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

const std::filesystem::path kOutput = BENCH_OUTPUT_DIR;
const std::filesystem::path kCrateFile = kOutput / "mesh-1M.usdc";
const std::filesystem::path kPackageFile = kOutput / "mesh-1M.usdz";
const std::filesystem::path kPlainFile = kOutput / "plain.bin";
constexpr std::size_t kPoints = 1'000'000;

const usd::Layer& meshLayer() {
    static const usd::Layer layer = bench::meshLayer(kPoints);
    return layer;
}

const std::vector<std::uint8_t>& crateBytes() {
    static const std::vector<std::uint8_t> bytes = usd::writeCrate(meshLayer());
    return bytes;
}

void reportAgainstPlain(benchmark::State& state, const bench::PairedSeconds& total,
                        const char* ratioName) {
    bench::reportRatioOverBytes(state, total, crateBytes().size(), "crate_MB", ratioName);
}

// The layer made into crate bytes and put in a file.
void writeAgainstPlainWrite(benchmark::State& state) {
    crateBytes(); // built before timing starts
    const bench::PairedSeconds total = bench::timePaired(
        state, [] { bench::writeFileBytes(kPlainFile, crateBytes()); },
        [] { bench::writeFileBytes(kCrateFile, usd::writeCrate(meshLayer())); });
    reportAgainstPlain(state, total, "write_per_plain_write");
}

// The crate file read back into a layer.
void readAgainstPlainRead(benchmark::State& state) {
    bench::writeFileBytes(kCrateFile, crateBytes());
    const bench::PairedSeconds total = bench::timePaired(
        state, [] { benchmark::DoNotOptimize(bench::readFileBytes(kCrateFile).data()); },
        [] { benchmark::DoNotOptimize(usd::readCrateFile(kCrateFile)); });
    reportAgainstPlain(state, total, "read_per_plain_read");
}

// The crate bytes stored in a package: CRC, alignment and the zip records over a plain write.
void packageAgainstPlainWrite(benchmark::State& state) {
    crateBytes(); // built before timing starts
    const usd::PackageEntry entries[] = {{"mesh.usdc", crateBytes()}};
    const bench::PairedSeconds total = bench::timePaired(
        state, [] { bench::writeFileBytes(kPlainFile, crateBytes()); },
        [&] { usd::writePackage(kPackageFile, entries); });
    reportAgainstPlain(state, total, "package_per_plain_write");
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    bench::registerPaired("crate_write_vs_plain/mesh-1M", writeAgainstPlainWrite);
    bench::registerPaired("crate_read_vs_plain/mesh-1M", readAgainstPlainRead);
    bench::registerPaired("package_write_vs_plain/mesh-1M", packageAgainstPlainWrite);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
