// Scene loads of the largest corpus documents and of a generated one-million-triangle GLB, each
// timed against reading the same files' bytes in the same run.
#include "CompressedGridGlb.h"
#include "GridGlb.h"
#include "SceneLoading.h"

#include <BenchSupport/PairedTiming.h>
#include <BenchSupport/RawFileIo.h>
#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

const std::filesystem::path kCorpus = std::filesystem::path(BRIGHTFOLD_SHARED_DIR) / "corpus";
const std::filesystem::path kOutput = BENCH_OUTPUT_DIR;

// 2 × 707² = 999,698 triangles on 708² = 501,264 vertices.
const bench::GridShape kWithNormals{.quadsPerSide = 707, .withNormals = true};
const bench::GridShape kWithoutNormals{.quadsPerSide = 707, .withNormals = false};

// The largest documents of the corpus that the reader accepts, of every kind.
const char* const kCorpusDocuments[] = {
    "glb/GlassHurricaneCandleHolder_Green.glb",
    "gltf/SpecGlossVsMetalRough/SpecGlossVsMetalRough.gltf",
    "gltf/blender-01_vertex_count_16bit/01_vertex_count_16bit.gltf",
    "gltf/CesiumMilkTruck/CesiumMilkTruck.gltf",
    "vrm/EmissionMigration_v0.106.0.vrm",
};

std::filesystem::path generatedGrid(const bench::GridShape& shape) {
    return kOutput / (shape.withNormals ? "grid-1M-normals.glb" : "grid-1M-no-normals.glb");
}

void readAll(const std::vector<std::filesystem::path>& files) {
    for (const std::filesystem::path& file : files) {
        benchmark::DoNotOptimize(bench::readFileBytes(file).data());
    }
}

// `load_per_read` is the load time over the time to read the same files' bytes.
void loadAgainstRawRead(benchmark::State& state, const std::filesystem::path& document) {
    const std::vector<std::filesystem::path> files = bench::filesReadByLoad(document);
    const bench::PairedSeconds total = bench::timePaired(
        state, [&] { readAll(files); }, [&] { bench::loadScene(document); });
    bench::reportRatioOverBytes(state, total, bench::totalSize(files), "file_MB", "load_per_read");
}

// The reader computes normals when a mesh has none: their cost is the extra time of loading the
// grid without normals over loading it with them. The file without normals is smaller, so this
// slightly understates the cost.
void normalComputation(benchmark::State& state) {
    const bench::PairedSeconds total = bench::timePaired(
        state, [] { bench::loadScene(generatedGrid(kWithNormals)); },
        [] { bench::loadScene(generatedGrid(kWithoutNormals)); });
    const double triangles =
        static_cast<double>(kWithNormals.triangleCount()) * static_cast<double>(state.iterations());
    state.counters["normal_Mtri_per_s"] =
        triangles / (total.measured.wall - total.baseline.wall) / 1e6;
    state.counters["normal_Mtri_per_s_cpu"] =
        triangles / (total.measured.cpu - total.baseline.cpu) / 1e6;
}

// `load_per_plain_load` is the load time of a compressed grid over that of the same grid
// stored plain; the difference is the decoding.
void decodeAgainstPlain(benchmark::State& state, const std::filesystem::path& compressed) {
    const bench::PairedSeconds total = bench::timePaired(
        state, [] { bench::loadScene(generatedGrid(kWithNormals)); },
        [&] { bench::loadScene(compressed); });
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(compressed)) / 1e6;
    state.counters["load_per_plain_load"] = total.measured.wall / total.baseline.wall;
    state.counters["load_per_plain_load_cpu"] = total.measured.cpu / total.baseline.cpu;
}

void registerBenchmarks() {
    for (const char* document : kCorpusDocuments) {
        bench::registerPaired("load_vs_read/" + std::string(document), loadAgainstRawRead,
                              kCorpus / document);
    }
    for (const bench::GridShape& shape : {kWithNormals, kWithoutNormals}) {
        const std::filesystem::path grid = generatedGrid(shape);
        bench::registerPaired("load_vs_read/" + grid.filename().string(), loadAgainstRawRead, grid);
    }
    bench::registerPaired("normal_computation/grid-1M", normalComputation);
    for (const char* compressed : {"grid-1M-draco.glb", "grid-1M-meshopt.glb"}) {
        bench::registerPaired(std::string("decode_vs_plain/") + compressed, decodeAgainstPlain,
                              kOutput / compressed);
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    bench::writeGridGlb(generatedGrid(kWithNormals), kWithNormals);
    bench::writeGridGlb(generatedGrid(kWithoutNormals), kWithoutNormals);
    bench::writeDracoGridGlb(kOutput / "grid-1M-draco.glb", kWithNormals);
    bench::writeMeshoptGridGlb(kOutput / "grid-1M-meshopt.glb", kWithNormals);
    registerBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
