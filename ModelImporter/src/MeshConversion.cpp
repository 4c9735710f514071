#include "MeshConversion.h"

#include "AssimpValues.h"

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
std::shared_ptr<GeometrySource> sourceOf(GeometrySemantic semantic, unsigned count, Read read) {
    std::vector<glm::vec<N, float>> vectors;
    vectors.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        vectors.push_back(read(i));
    }
    return GeometrySource::fromVectors<N>(semantic, std::span<const glm::vec<N, float>>(vectors));
}

void requireFinitePositions(const aiMesh& mesh) {
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
        const aiVector3D& p = mesh.mVertices[i];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
            throw ImportError("The vertex positions of mesh \"" + toString(mesh.mName) +
                              "\" could not be decoded (vertex " + std::to_string(i) +
                              " is not a finite number); the file may use a vertex encoding "
                              "the importer does not support.");
        }
    }
}

std::vector<std::shared_ptr<GeometrySource>> sourcesOf(const aiMesh& mesh) {
    const unsigned count = mesh.mNumVertices;
    std::vector<std::shared_ptr<GeometrySource>> sources;
    sources.push_back(sourceOf<3>(GeometrySemantic::vertex, count, [&](unsigned i) {
        return glm::vec3(mesh.mVertices[i].x, mesh.mVertices[i].y, mesh.mVertices[i].z);
    }));
    if (mesh.HasNormals()) {
        sources.push_back(sourceOf<3>(GeometrySemantic::normal, count, [&](unsigned i) {
            return glm::vec3(mesh.mNormals[i].x, mesh.mNormals[i].y, mesh.mNormals[i].z);
        }));
    }
    // Assimp puts the texture origin bottom-left; glTF and the scene graph put it top-left.
    for (unsigned channel = 0; mesh.HasTextureCoords(channel); ++channel) {
        const aiVector3D* coordinates = mesh.mTextureCoords[channel];
        sources.push_back(sourceOf<2>(GeometrySemantic::texcoord, count, [&](unsigned i) {
            return glm::vec2(coordinates[i].x, 1.0f - coordinates[i].y);
        }));
    }
    if (mesh.HasVertexColors(0)) {
        sources.push_back(sourceOf<4>(GeometrySemantic::color, count, [&](unsigned i) {
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

std::shared_ptr<scene::Geometry> convertMesh(const aiMesh& mesh) {
    requireFinitePositions(mesh);
    auto geometry = scene::Geometry::create(sourcesOf(mesh), elementsOf(mesh));
    geometry->setName(toString(mesh.mName));
    return geometry;
}

} // namespace modelimporter
