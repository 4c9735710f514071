#include "VertexStreams.h"

#include <SceneGraph/Geometry.h>
#include <SceneGraph/Skinner.h>
#include <algorithm>
#include <bit>
#include <cstring>

namespace brightfold::preview {
namespace {

using scene::GeometrySemantic;
using scene::GeometrySource;

QString semanticText(GeometrySemantic semantic) {
    return QString::fromUtf8(scene::semanticName(semantic).data(),
                             static_cast<qsizetype>(scene::semanticName(semantic).size()));
}

// A source is usable when it covers every vertex; a shorter one would be read past its end.
bool coversVertices(const std::shared_ptr<GeometrySource>& source, std::size_t vertexCount,
                    QStringList& problems) {
    if (!source) {
        return false;
    }
    if (source->vectorCount() >= vertexCount) {
        return true;
    }
    problems << QStringLiteral("A mesh's %1 data has %2 entries for %3 vertices and was left out.")
                    .arg(semanticText(source->semantic()))
                    .arg(source->vectorCount())
                    .arg(vertexCount);
    return false;
}

// Sources are little-endian, like the processors this fast path is for.
bool holdsFloats(const GeometrySource& source) {
    return std::endian::native == std::endian::little && source.usesFloatComponents() &&
           source.bytesPerComponent() == sizeof(float);
}

// 32-bit floats, the common case, are copied as they are; the components a vector lacks
// stay 0, as `normalizedVector` gives them.
template <class Vector>
std::vector<Vector> copyFloatVectors(const GeometrySource& source, std::size_t vertexCount) {
    std::vector<Vector> stream(vertexCount, Vector(0.0f));
    const std::size_t bytes =
        std::min<std::size_t>(source.componentsPerVector(), Vector::length()) * sizeof(float);
    const std::uint8_t* from = source.data()->data() + source.dataOffset();
    for (std::size_t index = 0; index < vertexCount; ++index) {
        std::memcpy(&stream[index], from + index * source.dataStride(), bytes);
    }
    return stream;
}

template <class Vector>
std::vector<Vector> readStream(const std::shared_ptr<GeometrySource>& source,
                               std::size_t vertexCount, QStringList& problems) {
    std::vector<Vector> stream;
    if (!coversVertices(source, vertexCount, problems)) {
        return stream;
    }
    if (holdsFloats(*source)) {
        return copyFloatVectors<Vector>(*source, vertexCount);
    }
    stream.reserve(vertexCount);
    for (std::size_t index = 0; index < vertexCount; ++index) {
        stream.push_back(Vector(normalizedVectorAt(*source, index)));
    }
    return stream;
}

// Colours given as RGB are opaque; tangents without a handedness are right-handed.
std::vector<glm::vec4> readWithUnitW(const std::shared_ptr<GeometrySource>& source,
                                     std::size_t vertexCount, QStringList& problems) {
    std::vector<glm::vec4> stream = readStream<glm::vec4>(source, vertexCount, problems);
    if (!stream.empty() && source->componentsPerVector() < 4) {
        for (glm::vec4& vector : stream) {
            vector.w = 1.0f;
        }
    }
    return stream;
}

std::vector<glm::vec3> readPositions(const GeometrySource& source) {
    if (holdsFloats(source)) {
        return copyFloatVectors<glm::vec3>(source, source.vectorCount());
    }
    std::vector<glm::vec3> positions;
    positions.reserve(source.vectorCount());
    for (std::size_t index = 0; index < source.vectorCount(); ++index) {
        positions.emplace_back(source.vector(index));
    }
    return positions;
}

void readBoneInfluences(const scene::Skinner& skinner, VertexStreams& streams,
                        QStringList& problems) {
    const std::size_t vertexCount = streams.vertexCount();
    if (!coversVertices(skinner.boneIndices(), vertexCount, problems) ||
        !coversVertices(skinner.boneWeights(), vertexCount, problems)) {
        return;
    }
    const auto boneCount = static_cast<double>(skinner.boneCount());
    streams.joints.resize(vertexCount);
    streams.weights = readStream<glm::vec4>(skinner.boneWeights(), vertexCount, problems);
    for (std::size_t vertex = 0; vertex < vertexCount; ++vertex) {
        const glm::dvec4 indices = skinner.boneIndices()->vector(vertex);
        for (int slot = 0; slot < 4; ++slot) {
            const bool known = indices[slot] >= 0 && indices[slot] < boneCount;
            streams.joints[vertex][slot] = known ? static_cast<int>(indices[slot]) : 0;
            if (!known) {
                streams.weights[vertex][slot] = 0.0f;
            }
        }
    }
}

} // namespace

glm::vec4 normalizedVectorAt(const GeometrySource& source, std::size_t index) {
    return glm::vec4(source.normalizedVector(index));
}

VertexStreams readVertexStreams(const scene::Geometry& geometry, const scene::Skinner* skinner,
                                QStringList& problems) {
    VertexStreams streams;
    const auto positions = geometry.firstSource(GeometrySemantic::vertex);
    if (!positions) {
        return streams;
    }
    streams.positions = readPositions(*positions);
    const std::size_t count = streams.vertexCount();
    const auto texcoords = geometry.sourcesForSemantic(GeometrySemantic::texcoord);
    streams.normals =
        readStream<glm::vec3>(geometry.firstSource(GeometrySemantic::normal), count, problems);
    streams.tangents =
        readWithUnitW(geometry.firstSource(GeometrySemantic::tangent), count, problems);
    streams.colors = readWithUnitW(geometry.firstSource(GeometrySemantic::color), count, problems);
    if (!texcoords.empty()) {
        streams.texcoords0 = readStream<glm::vec2>(texcoords[0], count, problems);
    }
    if (texcoords.size() > 1) {
        streams.texcoords1 = readStream<glm::vec2>(texcoords[1], count, problems);
    }
    if (skinner) {
        readBoneInfluences(*skinner, streams, problems);
    }
    return streams;
}

} // namespace brightfold::preview
