#include "ByteRange.h"
#include "ComponentReading.h"
#include "EnumNames.h"

#include <SceneGraph/GeometrySource.h>
#include <algorithm>
#include <stdexcept>
#include <string>

namespace scene {
namespace {

constexpr int maximumComponentsPerVector = 16;

std::size_t bytesPerVector(const SourceLayout& layout) {
    return static_cast<std::size_t>(layout.componentsPerVector) *
           static_cast<std::size_t>(layout.bytesPerComponent);
}

void checkComponentFormat(const SourceLayout& layout) {
    if (layout.componentsPerVector < 1 || layout.componentsPerVector > maximumComponentsPerVector) {
        throw std::invalid_argument(
            "geometry source: " + std::to_string(layout.componentsPerVector) +
            " components per vector is not supported");
    }
    const bool sizeKnown = layout.usesFloatComponents
                               ? detail::isValidFloatSize(layout.bytesPerComponent)
                               : detail::isValidIntegerSize(layout.bytesPerComponent);
    if (!sizeKnown) {
        throw std::invalid_argument("geometry source: " + std::to_string(layout.bytesPerComponent) +
                                    "-byte " + (layout.usesFloatComponents ? "float" : "integer") +
                                    " components are not supported");
    }
}

void checkLayoutFits(const Bytes& bytes, const SourceLayout& layout) {
    const std::size_t vectorSize = bytesPerVector(layout);
    if (layout.vectorCount > 1 && layout.dataStride < vectorSize) {
        throw std::invalid_argument("geometry source: stride " + std::to_string(layout.dataStride) +
                                    " is shorter than one vector (" + std::to_string(vectorSize) +
                                    " bytes)");
    }
    const std::size_t available = bytes ? bytes->size() : 0;
    if (!detail::stridedItemsFit(layout.dataOffset, layout.vectorCount, layout.dataStride,
                                 vectorSize, available)) {
        throw std::invalid_argument("geometry source: " + std::to_string(layout.vectorCount) +
                                    " vectors at offset " + std::to_string(layout.dataOffset) +
                                    " with stride " + std::to_string(layout.dataStride) +
                                    " reach past the end of its " + std::to_string(available) +
                                    " bytes");
    }
}

} // namespace

std::string_view semanticName(GeometrySemantic value) {
    static constexpr std::array<std::string_view, 9> names = {
        "vertex",       "normal",     "tangent",     "color",      "texcoord",
        "vertexCrease", "edgeCrease", "boneWeights", "boneIndices"};
    return detail::enumName(names, value);
}

GeometrySource::GeometrySource(Bytes bytes, GeometrySemantic semantic, const SourceLayout& layout)
    : bytes_(std::move(bytes)), semantic_(semantic), layout_(layout) {}

std::shared_ptr<GeometrySource> GeometrySource::create(Bytes bytes, GeometrySemantic semantic,
                                                       const SourceLayout& layout) {
    checkComponentFormat(layout);
    checkLayoutFits(bytes, layout);
    if (!bytes) {
        bytes = makeBytes({});
    }
    return std::shared_ptr<GeometrySource>(new GeometrySource(std::move(bytes), semantic, layout));
}

std::shared_ptr<GeometrySource> GeometrySource::fromFloats(GeometrySemantic semantic,
                                                           std::span<const float> floats,
                                                           int componentsPerVector) {
    const auto* first = reinterpret_cast<const std::uint8_t*>(floats.data());
    return fromPackedFloats(
        semantic, makeBytes(std::vector<std::uint8_t>(first, first + floats.size_bytes())),
        componentsPerVector);
}

std::shared_ptr<GeometrySource>
GeometrySource::fromPackedFloats(GeometrySemantic semantic, Bytes bytes, int componentsPerVector) {
    const auto vectorSize = static_cast<std::size_t>(componentsPerVector) * sizeof(float);
    const std::size_t vectorCount = bytes ? bytes->size() / vectorSize : 0;
    const SourceLayout layout{.vectorCount = vectorCount,
                              .usesFloatComponents = true,
                              .componentsPerVector = componentsPerVector,
                              .bytesPerComponent = sizeof(float),
                              .dataOffset = 0,
                              .dataStride = vectorSize};
    return create(std::move(bytes), semantic, layout);
}

double GeometrySource::component(std::size_t index, int component) const {
    const std::uint8_t* at = bytes_->data() + layout_.dataOffset + index * layout_.dataStride +
                             static_cast<std::size_t>(component * layout_.bytesPerComponent);
    return layout_.usesFloatComponents
               ? detail::readFloat(at, layout_.bytesPerComponent)
               : detail::readInteger(at, layout_.bytesPerComponent, layout_.signedComponents);
}

glm::dvec4 GeometrySource::vector(std::size_t index) const {
    glm::dvec4 result(0.0);
    const int count = std::min(layout_.componentsPerVector, 4);
    for (int c = 0; c < count; ++c) {
        result[c] = component(index, c);
    }
    return result;
}

glm::dvec4 GeometrySource::normalizedVector(std::size_t index) const {
    glm::dvec4 result = vector(index);
    if (layout_.usesFloatComponents) {
        return result;
    }
    const int count = std::min(layout_.componentsPerVector, 4);
    for (int c = 0; c < count; ++c) {
        result[c] = detail::normalizeInteger(result[c], layout_.bytesPerComponent,
                                             layout_.signedComponents);
    }
    return result;
}

} // namespace scene
