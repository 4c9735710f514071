#pragma once

#include <QStringList>
#include <glm/glm.hpp>
#include <vector>

namespace scene {
class Geometry;
class GeometrySource;
class Skinner;
} // namespace scene

namespace brightfold::preview {

/// One geometry's per-vertex attributes decoded to plain floats (and integer joint indices),
/// whatever component types the scene's sources carry. Every non-empty stream has one entry
/// per position.
struct VertexStreams {
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    /// xyz direction and w handedness (±1).
    std::vector<glm::vec4> tangents;
    std::vector<glm::vec2> texcoords0;
    std::vector<glm::vec2> texcoords1;
    std::vector<glm::vec4> colors;
    std::vector<glm::ivec4> joints;
    std::vector<glm::vec4> weights;

    std::size_t vertexCount() const { return positions.size(); }
};

/// Reads the streams of `geometry` (and the bone influences of `skinner`, when given). A source
/// holding fewer vectors than there are positions is left out and described in `problems`,
/// so nothing is ever read past its end. Joint indices outside the skinner's bones get weight 0.
VertexStreams readVertexStreams(const scene::Geometry& geometry, const scene::Skinner* skinner,
                                QStringList& problems);

/// Vector `index` of `source` as floats, integers mapped to [0, 1] or [-1, 1].
glm::vec4 normalizedVectorAt(const scene::GeometrySource& source, std::size_t index);

} // namespace brightfold::preview
