#pragma once

#include <SceneGraph/Bytes.h>
#include <cstddef>
#include <cstdint>
#include <glm/glm.hpp>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace scene {

/// What a geometry source's vectors mean.
enum class GeometrySemantic {
    vertex,
    normal,
    tangent,
    color,
    texcoord,
    vertexCrease,
    edgeCrease,
    boneWeights,
    boneIndices,
};

std::string_view semanticName(GeometrySemantic semantic);

/// Where the vectors of a source lie in its bytes and how their components are stored.
struct SourceLayout {
    std::size_t vectorCount = 0;
    bool usesFloatComponents = true;
    /// Integer components only: read as two's-complement signed numbers.
    bool signedComponents = false;
    int componentsPerVector = 3;
    int bytesPerComponent = 4;
    /// Byte position of vector 0 inside the block.
    std::size_t dataOffset = 0;
    /// Bytes from one vector to the next.
    std::size_t dataStride = 12;
};

/// One per-vertex attribute (positions, normals, texture coordinates …) read straight from a
/// shared byte block through a layout; the bytes are never copied or converted.
///
/// Components are little-endian; floats may be 2 (half), 4 or 8 bytes, integers 1, 2, 4 or 8.
class GeometrySource {
  public:
    /// Fails with std::invalid_argument when the layout is impossible (unknown component size,
    /// no components, a stride shorter than one vector) or reaches past the end of `bytes`.
    static std::shared_ptr<GeometrySource> create(Bytes bytes, GeometrySemantic semantic,
                                                  const SourceLayout& layout);

    /// A new tightly packed block of 32-bit float vectors (for computed normals and the like).
    template <glm::length_t N>
    static std::shared_ptr<GeometrySource> fromVectors(GeometrySemantic semantic,
                                                       std::span<const glm::vec<N, float>> vectors);

    /// Vectors of `componentsPerVector` 32-bit floats packed one after the other in `bytes`,
    /// which the source takes over without copying them.
    static std::shared_ptr<GeometrySource> fromPackedFloats(GeometrySemantic semantic, Bytes bytes,
                                                            int componentsPerVector);

    GeometrySemantic semantic() const { return semantic_; }
    const Bytes& data() const { return bytes_; }
    const SourceLayout& layout() const { return layout_; }
    std::size_t vectorCount() const { return layout_.vectorCount; }
    bool usesFloatComponents() const { return layout_.usesFloatComponents; }
    int componentsPerVector() const { return layout_.componentsPerVector; }
    int bytesPerComponent() const { return layout_.bytesPerComponent; }
    std::size_t dataOffset() const { return layout_.dataOffset; }
    std::size_t dataStride() const { return layout_.dataStride; }

    /// Component `component` of vector `index` as stored (integers are not normalised).
    /// Both indices must be in range.
    double component(std::size_t index, int component) const;

    /// Up to the first four components of vector `index`; missing components are 0.
    glm::dvec4 vector(std::size_t index) const;

    /// Like `vector`, but integer components are mapped to [0, 1] (unsigned) or [-1, 1]
    /// (signed), as texture coordinates, colours and weights stored as integers mean.
    glm::dvec4 normalizedVector(std::size_t index) const;

  private:
    GeometrySource(Bytes bytes, GeometrySemantic semantic, const SourceLayout& layout);
    static std::shared_ptr<GeometrySource>
    fromFloats(GeometrySemantic semantic, std::span<const float> floats, int componentsPerVector);

    Bytes bytes_;
    GeometrySemantic semantic_;
    SourceLayout layout_;
};

template <glm::length_t N>
std::shared_ptr<GeometrySource>
GeometrySource::fromVectors(GeometrySemantic semantic,
                            std::span<const glm::vec<N, float>> vectors) {
    static_assert(sizeof(glm::vec<N, float>) == N * sizeof(float));
    const std::span<const float> floats(reinterpret_cast<const float*>(vectors.data()),
                                        vectors.size() * N);
    return fromFloats(semantic, floats, static_cast<int>(N));
}

} // namespace scene
