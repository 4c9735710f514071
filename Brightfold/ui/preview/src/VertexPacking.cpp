#include "VertexPacking.h"

#include <cmath>
#include <cstring>

namespace brightfold::preview {
namespace {

using Attribute = QQuick3DGeometry::Attribute;

// One attribute: its values one after another, `bytes` each.
struct Field {
    Attribute::Semantic semantic;
    Attribute::ComponentType componentType;
    int bytes;
    const char* values;
};

template <class Vector> Field fieldOf(Attribute::Semantic semantic, const std::vector<Vector>& s) {
    const auto componentType =
        std::is_integral_v<typename Vector::value_type> ? Attribute::I32Type : Attribute::F32Type;
    return {semantic, componentType, static_cast<int>(sizeof(Vector)),
            reinterpret_cast<const char*>(s.data())};
}

std::vector<glm::vec3> tangentDirections(const VertexStreams& streams) {
    std::vector<glm::vec3> directions;
    directions.reserve(streams.tangents.size());
    for (const glm::vec4& tangent : streams.tangents) {
        directions.emplace_back(tangent);
    }
    return directions;
}

std::vector<glm::vec3> binormals(const VertexStreams& streams) {
    std::vector<glm::vec3> result;
    result.reserve(streams.tangents.size());
    for (std::size_t vertex = 0; vertex < streams.tangents.size(); ++vertex) {
        const glm::vec4& tangent = streams.tangents[vertex];
        result.push_back(glm::cross(streams.normals[vertex], glm::vec3(tangent)) * tangent.w);
    }
    return result;
}

void growBounds(const std::vector<glm::vec3>& positions, PackedVertices& packed) {
    glm::vec3 low(INFINITY);
    glm::vec3 high(-INFINITY);
    for (const glm::vec3& position : positions) {
        if (std::isfinite(position.x) && std::isfinite(position.y) && std::isfinite(position.z)) {
            low = glm::min(low, position);
            high = glm::max(high, position);
        }
    }
    if (low.x <= high.x) {
        packed.boundsMin = QVector3D(low.x, low.y, low.z);
        packed.boundsMax = QVector3D(high.x, high.y, high.z);
    }
}

void interleave(const std::vector<Field>& fields, std::size_t vertexCount, PackedVertices& packed) {
    int offset = 0;
    for (const Field& field : fields) {
        packed.attributes.append({field.semantic, offset, field.componentType});
        offset += field.bytes;
    }
    packed.stride = offset;
    packed.data.resize(static_cast<qsizetype>(vertexCount) * offset);
    // One attribute at a time, so each pass reads one stream from start to end.
    for (qsizetype at = 0; const Field& field : fields) {
        char* destination = packed.data.data() + packed.attributes[at++].offset;
        for (std::size_t vertex = 0; vertex < vertexCount; ++vertex) {
            std::memcpy(destination + vertex * packed.stride, field.values + vertex * field.bytes,
                        static_cast<std::size_t>(field.bytes));
        }
    }
}

} // namespace

PackedVertices packVertices(const VertexStreams& streams) {
    PackedVertices packed;
    const std::vector<glm::vec3> tangents = tangentDirections(streams);
    const std::vector<glm::vec3> bitangents =
        streams.normals.empty() ? std::vector<glm::vec3>{} : binormals(streams);
    std::vector<Field> fields{fieldOf(Attribute::PositionSemantic, streams.positions)};
    const auto addIfPresent = [&fields](Attribute::Semantic semantic, const auto& stream) {
        if (!stream.empty()) {
            fields.push_back(fieldOf(semantic, stream));
        }
    };
    addIfPresent(Attribute::NormalSemantic, streams.normals);
    addIfPresent(Attribute::TexCoord0Semantic, streams.texcoords0);
    addIfPresent(Attribute::TexCoord1Semantic, streams.texcoords1);
    addIfPresent(Attribute::TangentSemantic, tangents);
    addIfPresent(Attribute::BinormalSemantic, bitangents);
    addIfPresent(Attribute::ColorSemantic, streams.colors);
    addIfPresent(Attribute::JointSemantic, streams.joints);
    addIfPresent(Attribute::WeightSemantic, streams.weights);
    interleave(fields, streams.vertexCount(), packed);
    growBounds(streams.positions, packed);
    return packed;
}

} // namespace brightfold::preview
