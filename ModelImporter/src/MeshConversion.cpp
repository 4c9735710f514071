#include "MeshConversion.h"

#include "AssimpValues.h"
#include "RawVertexBytes.h"

#include <ModelImporter/ModelImporter.h>
#include <SceneGraph/Geometry.h>
#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

namespace modelimporter {
namespace {

using scene::GeometrySemantic;
using scene::GeometrySource;

template <glm::length_t N, class Read>
std::shared_ptr<GeometrySource> sourceOf(GeometrySemantic semantic, std::size_t count, Read read) {
    std::vector<glm::vec<N, float>> vectors;
    vectors.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        vectors.push_back(read(i));
    }
    return GeometrySource::fromVectors<N>(semantic, std::span<const glm::vec<N, float>>(vectors));
}

template <glm::length_t N>
std::shared_ptr<GeometrySource> sourceOf(GeometrySemantic semantic,
                                         const std::vector<glm::vec4>& values) {
    return sourceOf<N>(semantic, values.size(),
                       [&](std::size_t i) { return glm::vec<N, float>(values[i]); });
}

// An attribute's values as the file means them. Assimp puts the texture origin bottom-left,
// glTF and the scene graph top-left, so converted texture coordinates are flipped back;
// integer-stored ones come straight from the file's bytes and need no flip.
std::vector<glm::vec4> attributeValues(std::span<const aiVector3D> vectors,
                                       const std::optional<IntegerEncoding>& encoding,
                                       bool isTextureCoordinate) {
    if (encoding) {
        if (auto decoded = decodeCopiedBytes(vectors, *encoding, isTextureCoordinate)) {
            return *decoded;
        }
    }
    std::vector<glm::vec4> values;
    values.reserve(vectors.size());
    for (const aiVector3D& v : vectors) {
        values.emplace_back(v.x, isTextureCoordinate ? 1.0f - v.y : v.y, v.z, 0.0f);
    }
    return values;
}

void requireFinitePositions(const aiMesh& mesh, const std::vector<glm::vec4>& positions) {
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const glm::vec4& p = positions[i];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
            throw ImportError("The vertex positions of mesh \"" + toString(mesh.mName) +
                              "\" could not be decoded (vertex " + std::to_string(i) +
                              " is not a finite number); the file may use a vertex encoding "
                              "the importer does not support.");
        }
    }
}

std::vector<std::shared_ptr<GeometrySource>> sourcesOf(const aiMesh& mesh,
                                                       const PrimitiveEncodings& encodings) {
    const auto span = [&](const aiVector3D* vectors) {
        return std::span<const aiVector3D>(vectors, mesh.mNumVertices);
    };
    std::vector<std::shared_ptr<GeometrySource>> sources;
    const auto positions = attributeValues(span(mesh.mVertices), encodings.position, false);
    requireFinitePositions(mesh, positions);
    sources.push_back(sourceOf<3>(GeometrySemantic::vertex, positions));
    if (mesh.HasNormals()) {
        sources.push_back(
            sourceOf<3>(GeometrySemantic::normal,
                        attributeValues(span(mesh.mNormals), encodings.normal, false)));
    }
    for (unsigned channel = 0; mesh.HasTextureCoords(channel); ++channel) {
        const auto& encoding =
            channel < encodings.texcoords.size() ? encodings.texcoords[channel] : std::nullopt;
        sources.push_back(
            sourceOf<2>(GeometrySemantic::texcoord,
                        attributeValues(span(mesh.mTextureCoords[channel]), encoding, true)));
    }
    if (mesh.HasVertexColors(0)) {
        sources.push_back(
            sourceOf<4>(GeometrySemantic::color, mesh.mNumVertices, [&](std::size_t i) {
                const aiColor4D& c = mesh.mColors[0][i];
                return glm::vec4(c.r, c.g, c.b, c.a);
            }));
    }
    return sources;
}

// Faces of one, two and three corners become point, line and triangle elements; the
// importer has already split larger polygons into triangles.
std::vector<std::shared_ptr<scene::GeometryElement>> elementsOf(const aiMesh& mesh) {
    constexpr std::array kinds = {scene::PrimitiveType::point, scene::PrimitiveType::line,
                                  scene::PrimitiveType::triangles};
    std::array<std::vector<std::uint32_t>, kinds.size()> indicesByKind;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices >= 1 && face.mNumIndices <= kinds.size()) {
            auto& indices = indicesByKind[face.mNumIndices - 1];
            indices.insert(indices.end(), face.mIndices, face.mIndices + face.mNumIndices);
        }
    }
    std::vector<std::shared_ptr<scene::GeometryElement>> elements;
    for (std::size_t kind = 0; kind < kinds.size(); ++kind) {
        if (!indicesByKind[kind].empty()) {
            elements.push_back(scene::GeometryElement::fromIndices(
                std::span<const std::uint32_t>(indicesByKind[kind]), kinds[kind]));
        }
    }
    return elements;
}

} // namespace

std::shared_ptr<scene::Geometry> convertMesh(const aiMesh& mesh,
                                             const PrimitiveEncodings& encodings) {
    auto geometry = scene::Geometry::create(sourcesOf(mesh, encodings), elementsOf(mesh));
    geometry->setName(toString(mesh.mName));
    return geometry;
}

} // namespace modelimporter
