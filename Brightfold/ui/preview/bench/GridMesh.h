#pragma once

#include <SceneGraph/Geometry.h>
#include <cstdint>
#include <memory>
#include <vector>

namespace brightfold::preview {

inline constexpr int gridSide = 224;

/// A flat square of 224 × 224 quads (100 352 triangles) in the z = 0 plane, facing +Z; `lift`
/// raises every other row, so two grids with different lifts make a morph target.
inline std::shared_ptr<scene::Geometry> gridMesh(float lift) {
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec2> texcoords;
    for (int row = 0; row <= gridSide; ++row) {
        for (int column = 0; column <= gridSide; ++column) {
            positions.emplace_back(column, row, lift * static_cast<float>(row % 2));
            normals.emplace_back(0, 0, 1);
            texcoords.emplace_back(column / float(gridSide), row / float(gridSide));
        }
    }
    std::vector<std::uint32_t> indices;
    for (int row = 0; row < gridSide; ++row) {
        for (int column = 0; column < gridSide; ++column) {
            const auto corner = static_cast<std::uint32_t>(row * (gridSide + 1) + column);
            indices.insert(indices.end(), {corner, corner + 1, corner + gridSide + 2, corner,
                                           corner + gridSide + 2, corner + gridSide + 1});
        }
    }
    return scene::Geometry::create(
        {scene::GeometrySource::fromVectors<3>(scene::GeometrySemantic::vertex, positions),
         scene::GeometrySource::fromVectors<3>(scene::GeometrySemantic::normal, normals),
         scene::GeometrySource::fromVectors<2>(scene::GeometrySemantic::texcoord, texcoords)},
        {scene::GeometryElement::fromIndices<std::uint32_t>(indices,
                                                            scene::PrimitiveType::triangles)});
}

} // namespace brightfold::preview
