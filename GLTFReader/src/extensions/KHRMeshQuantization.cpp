#include "KHRMeshQuantization.h"

#include <GLTFReader/GLTFUnarchiveError.h>
#include <algorithm>
#include <cmath>
#include <vector>

namespace gltf::extensions {
namespace {

using scene::GeometrySemantic;

enum : std::int64_t { byteType = 5120, ubyteType = 5121, shortType = 5122, ushortType = 5123 };

bool isByteOrShort(std::int64_t componentType) {
    return componentType >= byteType && componentType <= ushortType;
}

bool isSigned(std::int64_t componentType) {
    return componentType == byteType || componentType == shortType;
}

// Which integer storage each attribute may use in a quantized mesh.
bool allowedStorage(GeometrySemantic semantic, std::int64_t componentType, bool normalized) {
    switch (semantic) {
    case GeometrySemantic::vertex:
    case GeometrySemantic::texcoord:
        return isByteOrShort(componentType);
    case GeometrySemantic::normal:
    case GeometrySemantic::tangent:
        return normalized && isSigned(componentType);
    default:
        return true;
    }
}

int requiredComponents(GeometrySemantic semantic) {
    switch (semantic) {
    case GeometrySemantic::vertex:
    case GeometrySemantic::normal:
        return 3;
    case GeometrySemantic::tangent:
        return 4;
    default:
        return 2;
    }
}

bool isQuantizable(GeometrySemantic semantic) {
    return semantic == GeometrySemantic::vertex || semantic == GeometrySemantic::normal ||
           semantic == GeometrySemantic::tangent || semantic == GeometrySemantic::texcoord;
}

// The largest magnitude of the storage: c / max is the normalized value (signed values clamped
// at −1, since the most negative integer has no positive twin).
double normalizingDivisor(const scene::GeometrySource& source) {
    const int bits = 8 * source.bytesPerComponent();
    const int magnitudeBits = source.layout().signedComponents ? bits - 1 : bits;
    return std::ldexp(1.0, magnitudeBits) - 1.0;
}

} // namespace

std::shared_ptr<scene::GeometrySource> asFloatSource(std::shared_ptr<scene::GeometrySource> source,
                                                     const GLTFAccessor& accessor,
                                                     std::int64_t accessorIndex,
                                                     const std::string& operation) {
    const GeometrySemantic semantic = source->semantic();
    if (source->usesFloatComponents() || !isQuantizable(semantic)) {
        return source;
    }
    const bool normalized = accessor._normalized.value_or(false);
    const int components = source->componentsPerVector();
    if (!allowedStorage(semantic, accessor.componentType, normalized) ||
        components != requiredComponents(semantic)) {
        throw GLTFUnarchiveError::dataInconsistent(
            operation + ": the accessor " + std::to_string(accessorIndex) + " stores " +
            std::string(scene::semanticName(semantic)) + " vectors as " +
            (normalized ? "normalized " : "") + accessor.type + " of componentType " +
            std::to_string(accessor.componentType) + ", which a quantized mesh cannot use");
    }
    const double divisor = normalized ? normalizingDivisor(*source) : 1.0;
    std::vector<float> floats(source->vectorCount() * static_cast<std::size_t>(components));
    for (std::size_t vector = 0; vector < source->vectorCount(); ++vector) {
        for (int component = 0; component < components; ++component) {
            const double value = source->component(vector, component) / divisor;
            floats[vector * static_cast<std::size_t>(components) +
                   static_cast<std::size_t>(component)] =
                static_cast<float>(normalized ? std::max(value, -1.0) : value);
        }
    }
    std::vector<std::uint8_t> bytes(floats.size() * sizeof(float));
    std::copy_n(reinterpret_cast<const std::uint8_t*>(floats.data()), bytes.size(), bytes.data());
    return scene::GeometrySource::fromPackedFloats(semantic, scene::makeBytes(std::move(bytes)),
                                                   components);
}

} // namespace gltf::extensions
