// USDZ writing and reading of the generated one-million-triangle grid with a 2048² PNG texture,
// each timed against moving the same number of plain bytes between memory and a file in the
// same run.
#include "TexturedGrid.h"

#include <BenchSupport/PairedTiming.h>
#include <BenchSupport/RawFileIo.h>
#include <USD/scene_reader/SceneReader.h>
#include <USD/scene_writer/SceneWriter.h>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

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

// Where large buffers get their memory. On a virtual machine a first touch of a fresh page can
// cost more than producing the bytes written to it, and glibc hands out recycled or fresh pages
// depending on what was freed before (the plain read took 6 ms or 130 ms by that alone). Both
// ways are measured, each fixed for the baseline and the measured step alike: fresh pages from
// the kernel for every large buffer, as in a process that converts one file, or pages recycled
// within the process, which leaves the work itself.
enum class Pages { fresh, recycled };

void useLargeBuffersFrom(Pages pages) {
    constexpr int kernelDefaultMaps = 65536;
    const bool fresh = pages == Pages::fresh;
    mallopt(M_MMAP_MAX, fresh ? kernelDefaultMaps : 0);
    mallopt(M_MMAP_THRESHOLD, 128 << 10);
    mallopt(M_TRIM_THRESHOLD, fresh ? 128 << 10 : 1 << 30);
}

void reportAgainstPlain(benchmark::State& state, const bench::PairedSeconds& total,
                        const char* ratioName) {
    bench::reportRatioOverBytes(state, total, packageSizedBytes().size(), "package_MB", ratioName);
}

// The whole write: layer built from the scene, crate bytes, images and package.
void writeAgainstPlainWrite(benchmark::State& state, Pages pages) {
    packageSizedBytes();
    useLargeBuffersFrom(pages);
    const bench::PairedSeconds total = bench::timePaired(
        state, [] { bench::writeFileBytes(kPlainFile, packageSizedBytes()); }, writePackage);
    reportAgainstPlain(state, total, "write_per_plain_write");
}

// The package read back into a scene.
void readAgainstPlainRead(benchmark::State& state, Pages pages) {
    packageSizedBytes();
    useLargeBuffersFrom(pages);
    const bench::PairedSeconds total = bench::timePaired(
        state, [] { benchmark::DoNotOptimize(bench::readFileBytes(kPackageFile).data()); },
        [] { benchmark::DoNotOptimize(usd::readUSDZ(kPackageFile)); });
    reportAgainstPlain(state, total, "read_per_plain_read");
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    for (const auto& [suffix, pages] :
         {std::pair{"fresh_pages", Pages::fresh}, std::pair{"recycled_pages", Pages::recycled}}) {
        const std::string grid = std::string("/grid-1M-tex2048/") + suffix;
        bench::registerPaired("usdz_write_vs_plain" + grid, writeAgainstPlainWrite, pages);
        bench::registerPaired("usdz_read_vs_plain" + grid, readAgainstPlainRead, pages);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
