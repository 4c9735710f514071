// What the preview spends on the CPU for a 100 000-triangle mesh: the one-off conversion to
// renderer buffers, and the per-frame re-blend of a mesh with two animated morph targets.
#include "GridMesh.h"
#include "IndexPacking.h"
#include "MorphBlending.h"
#include "VertexPacking.h"
#include "VertexStreams.h"

#include <SceneGraph/Morpher.h>
#include <benchmark/benchmark.h>

namespace brightfold::preview {
namespace {

void convertMesh(benchmark::State& state) {
    const auto geometry = gridMesh(0.0f);
    for (auto _ : state) {
        QStringList problems;
        const VertexStreams streams = readVertexStreams(*geometry, nullptr, problems);
        benchmark::DoNotOptimize(packVertices(streams));
        benchmark::DoNotOptimize(packIndices(*geometry, streams.vertexCount(), problems));
    }
}
BENCHMARK(convertMesh)->Unit(benchmark::kMillisecond);

void reblendMorphedMesh(benchmark::State& state) {
    const auto geometry = gridMesh(0.0f);
    auto morpher = scene::Morpher::create();
    morpher->setCalculationMode(scene::MorpherCalculationMode::normalized);
    morpher->setTargets({gridMesh(1.0f), gridMesh(-2.0f)});
    QStringList problems;
    const VertexStreams base = readVertexStreams(*geometry, nullptr, problems);
    const std::vector<MorphOffsets> targets = readMorphOffsets(*morpher, base, problems);
    VertexStreams shape = base;
    double weight = 0.0;
    for (auto _ : state) {
        weight += 0.01;
        blendMorphTargets(base, targets, {weight, 1.0 - weight}, shape);
        benchmark::DoNotOptimize(packVertices(shape));
    }
}
BENCHMARK(reblendMorphedMesh)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace brightfold::preview
