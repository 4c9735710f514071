// USDZ writing and reading of the generated one-million-triangle grid with a 2048² PNG texture,
// each timed against moving the same number of plain bytes between memory and a file in the
// same run.
#include "TexturedGrid.h"

#include <BenchSupport/PairedTiming.h>
#include <BenchSupport/RawFileIo.h>
#include <USD/USDZReader.h>
#include <USD/USDZWriter.h>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdexcept>

namespace {

const std::filesystem::path kOutput = BENCH_OUTPUT_DIR;
const std::filesystem::path kPackageFile = kOutput / "grid-1M-textured.usdz";
const std::filesystem::path kPlainFile = kOutput / "plain.bin";

const bench::TexturedGrid& grid() {
    static const bench::TexturedGrid made = bench::makeTexturedGrid(kOutput);
    return made;
}

void writePackage() {
    const usd::USDZWriteResult result = usd::writeUSDZ(*grid().scene, kPackageFile);
    if (!result.succeeded)
        throw std::runtime_error(result.failure);
}

// Plain bytes of the package's size, made before timing starts.
const std::vector<std::uint8_t>& packageSizedBytes() {
    static const std::vector<std::uint8_t> bytes = [] {
        writePackage();
        return std::vector<std::uint8_t>(std::filesystem::file_size(kPackageFile), 0x5a);
    }();
    return bytes;
}

void reportAgainstPlain(benchmark::State& state, const bench::PairedSeconds& total,
                        const char* ratioName) {
    bench::reportRatioOverBytes(state, total, packageSizedBytes().size(), "package_MB", ratioName);
}

// The whole write: layer built from the scene, crate bytes, images and package.
void writeAgainstPlainWrite(benchmark::State& state) {
    packageSizedBytes();
    const bench::PairedSeconds total = bench::timePaired(
        state, [] { bench::writeFileBytes(kPlainFile, packageSizedBytes()); }, writePackage);
    reportAgainstPlain(state, total, "write_per_plain_write");
}

// The package read back into a scene.
void readAgainstPlainRead(benchmark::State& state) {
    packageSizedBytes();
    const bench::PairedSeconds total = bench::timePaired(
        state, [] { benchmark::DoNotOptimize(bench::readFileBytes(kPackageFile).data()); },
        [] { benchmark::DoNotOptimize(usd::readUSDZ(kPackageFile)); });
    reportAgainstPlain(state, total, "read_per_plain_read");
}

} // namespace

int main(int argc, char** argv) {
    // glibc serves a large block from memory an earlier free gave back when its size is under a
    // threshold that those frees raise, so the plain read's speed depended on what the step before
    // it had freed (6 ms with recycled pages, 130 ms with fresh ones). A fixed threshold gives
    // every large buffer, of the baseline and of the measured step alike, fresh pages from the
    // kernel, as in a process that converts one file.
    mallopt(M_MMAP_THRESHOLD, 128 << 10);
    benchmark::Initialize(&argc, argv);
    bench::registerPaired("usdz_write_vs_plain/grid-1M-tex2048", writeAgainstPlainWrite);
    bench::registerPaired("usdz_read_vs_plain/grid-1M-tex2048", readAgainstPlainRead);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
