#pragma once

// Small scenes for the preview tests, written out in a few lines each.

#include <QBuffer>
#include <QImage>
#include <SceneGraph/Geometry.h>
#include <SceneGraph/Image.h>
#include <SceneGraph/Material.h>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace brightfold::preview::fixtures {

template <glm::length_t N>
std::shared_ptr<scene::GeometrySource> floatSource(scene::GeometrySemantic semantic,
                                                   const std::vector<glm::vec<N, float>>& values) {
    return scene::GeometrySource::fromVectors<N>(semantic, values);
}

/// Unsigned integers of type T, `components` per vector.
template <class T>
std::shared_ptr<scene::GeometrySource> integerSource(scene::GeometrySemantic semantic,
                                                     const std::vector<T>& values, int components) {
    std::vector<std::uint8_t> bytes(values.size() * sizeof(T));
    std::memcpy(bytes.data(), values.data(), bytes.size());
    return scene::GeometrySource::create(
        scene::makeBytes(std::move(bytes)), semantic,
        {.vectorCount = values.size() / static_cast<std::size_t>(components),
         .usesFloatComponents = false,
         .componentsPerVector = components,
         .bytesPerComponent = static_cast<int>(sizeof(T)),
         .dataStride = sizeof(T) * static_cast<std::size_t>(components)});
}

template <class Index>
std::shared_ptr<scene::GeometryElement>
element(const std::vector<Index>& indices,
        scene::PrimitiveType type = scene::PrimitiveType::triangles) {
    return scene::GeometryElement::fromIndices<Index>(indices, type);
}

/// `image` encoded as PNG.
inline scene::Bytes pngBytes(const QImage& image) {
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return scene::makeBytes(std::vector<std::uint8_t>(encoded.begin(), encoded.end()));
}

/// A unit quad in the z = 0 plane facing +Z: corners (−1, −1) … (1, 1), texture v = 0 at the
/// top edge, two counter-clockwise triangles.
inline std::shared_ptr<scene::Geometry> quad() {
    using scene::GeometrySemantic;
    return scene::Geometry::create(
        {floatSource<3>(GeometrySemantic::vertex, {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}),
         floatSource<3>(GeometrySemantic::normal, {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}}),
         floatSource<2>(GeometrySemantic::texcoord, {{0, 1}, {1, 1}, {1, 0}, {0, 0}})},
        {element<std::uint16_t>({0, 1, 2, 0, 2, 3})});
}

} // namespace brightfold::preview::fixtures
