#include "GridScenes.h"

#include "MovingScenes.h"

#include <SceneGraph/Geometry.h>
#include <SceneGraph/Morpher.h>
#include <SceneGraph/Skinner.h>
#include <cmath>

namespace usd::test {
namespace {

using scene::GeometrySemantic;

struct GridVertices {
    std::vector<glm::vec3> positions, lifts;
    std::vector<glm::vec2> texCoords;
    std::vector<glm::vec4> weights, bones;
    std::vector<std::uint32_t> indices;
};

std::uint32_t addVertex(GridVertices& grid, float x, float y, float u, float width) {
    grid.positions.emplace_back(x, y, 0.05f * std::sin(x * 0.7f) * std::cos(y * 0.4f));
    grid.lifts.emplace_back(0, 0, 0.1f);
    grid.texCoords.emplace_back(u, y);
    const float right = x / width;
    grid.weights.emplace_back(1 - right, right, 0, 0);
    grid.bones.emplace_back(0, 1, 0, 0);
    return static_cast<std::uint32_t>(grid.positions.size() - 1);
}

// Vertex numbers by column and row; the seam column has its left and right copies.
GridVertices gridVertices(std::size_t columns, std::size_t rows) {
    GridVertices grid;
    const std::size_t seam = columns / 2;
    const auto width = static_cast<float>(columns);
    std::vector<std::vector<std::uint32_t>> left(columns + 1), right(columns + 1);
    for (std::size_t c = 0; c <= columns; ++c)
        for (std::size_t r = 0; r <= rows; ++r) {
            const auto x = static_cast<float>(c), y = static_cast<float>(r);
            if (c <= seam)
                left[c].push_back(addVertex(grid, x, y, x / width, width));
            if (c >= seam)
                right[c].push_back(addVertex(grid, x, y, 1 + x / width, width));
        }
    for (std::size_t c = 0; c < columns; ++c) {
        const auto& side = c < seam ? left : right;
        for (std::size_t r = 0; r < rows; ++r)
            grid.indices.insert(grid.indices.end(),
                                {side[c][r], side[c + 1][r], side[c + 1][r + 1], side[c][r],
                                 side[c + 1][r + 1], side[c][r + 1]});
    }
    return grid;
}

template <glm::length_t N>
std::shared_ptr<scene::GeometrySource> sourceOf(GeometrySemantic semantic,
                                                const std::vector<glm::vec<N, float>>& vectors) {
    return scene::GeometrySource::fromVectors<N>(semantic, vectors);
}

} // namespace

GridScene skinnedGrid(std::size_t columns, std::size_t rows) {
    GridScene made{emptyScene(), nullptr, 2 * columns * rows};
    const GridVertices grid = gridVertices(columns, rows);
    auto hips = child(made.scene->rootNode(), "Hips");
    auto spine = child(hips, "Spine", {0, 1, 0});
    made.body = child(made.scene->rootNode(), "Body");
    auto geometry = scene::Geometry::create({sourceOf(GeometrySemantic::vertex, grid.positions),
                                             sourceOf(GeometrySemantic::texcoord, grid.texCoords)},
                                            {scene::GeometryElement::fromIndices<std::uint32_t>(
                                                grid.indices, scene::PrimitiveType::triangles)});
    made.body->setGeometry(geometry);
    made.body->setSkinner(
        scene::Skinner::create(geometry, {hips, spine}, std::nullopt,
                               sourceOf(GeometrySemantic::boneWeights, grid.weights),
                               sourceOf(GeometrySemantic::boneIndices, grid.bones)));
    auto lift = scene::Geometry::create({sourceOf(GeometrySemantic::vertex, grid.lifts)});
    lift->setName("Lift");
    auto morpher = scene::Morpher::create();
    morpher->setTargets({lift});
    morpher->setCalculationMode(scene::MorpherCalculationMode::additive);
    made.body->setMorpher(morpher);
    return made;
}

} // namespace usd::test
