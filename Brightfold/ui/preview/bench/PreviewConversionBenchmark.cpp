// What the preview spends on the CPU for a 100 000-triangle mesh: the one-off conversion to
// renderer buffers, and the per-frame re-blend of a mesh with two animated morph targets.
#include "IndexPacking.h"
#include "MorphBlending.h"
#include "VertexPacking.h"
#include "VertexStreams.h"

#include <SceneGraph/Geometry.h>
#include <SceneGraph/Morpher.h>
#include <benchmark/benchmark.h>
#include <cstdint>

namespace brightfold::preview {
namespace {

using scene::GeometrySemantic;

constexpr int side = 224; // 224 × 224 quads: 100 352 triangles

std::shared_ptr<scene::Geometry> grid(float lift) {
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec2> texcoords;
    for (int row = 0; row <= side; ++row) {
        for (int column = 0; column <= side; ++column) {
            positions.emplace_back(column, row, lift * static_cast<float>(row % 2));
            normals.emplace_back(0, 0, 1);
            texcoords.emplace_back(column / float(side), row / float(side));
        }
    }
    std::vector<std::uint32_t> indices;
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            const auto corner = static_cast<std::uint32_t>(row * (side + 1) + column);
            indices.insert(indices.end(), {corner, corner + 1, corner + side + 2, corner,
                                           corner + side + 2, corner + side + 1});
        }
    }
    return scene::Geometry::create(
        {scene::GeometrySource::fromVectors<3>(GeometrySemantic::vertex, positions),
         scene::GeometrySource::fromVectors<3>(GeometrySemantic::normal, normals),
         scene::GeometrySource::fromVectors<2>(GeometrySemantic::texcoord, texcoords)},
        {scene::GeometryElement::fromIndices<std::uint32_t>(indices,
                                                            scene::PrimitiveType::triangles)});
}

void convertMesh(benchmark::State& state) {
    const auto geometry = grid(0.0f);
    for (auto _ : state) {
        QStringList problems;
        const VertexStreams streams = readVertexStreams(*geometry, nullptr, problems);
        benchmark::DoNotOptimize(packVertices(streams));
        benchmark::DoNotOptimize(packIndices(*geometry, streams.vertexCount(), problems));
    }
}
BENCHMARK(convertMesh)->Unit(benchmark::kMillisecond);

void reblendMorphedMesh(benchmark::State& state) {
    const auto geometry = grid(0.0f);
    auto morpher = scene::Morpher::create();
    morpher->setCalculationMode(scene::MorpherCalculationMode::normalized);
    morpher->setTargets({grid(1.0f), grid(-2.0f)});
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
