#include <GLTFReader/AccessorTables.h>

namespace gltf {
namespace {

constexpr std::int64_t byteType = 5120;
constexpr std::int64_t unsignedByteType = 5121;
constexpr std::int64_t shortType = 5122;
constexpr std::int64_t unsignedShortType = 5123;
constexpr std::int64_t unsignedIntType = 5125;
constexpr std::int64_t floatType = 5126;

} // namespace

std::optional<bool> componentIsFloat(std::int64_t componentType) {
    if (!bytesPerComponent(componentType)) {
        return std::nullopt;
    }
    return componentType == floatType;
}

std::optional<int> bytesPerComponent(std::int64_t componentType) {
    switch (componentType) {
    case byteType:
    case unsignedByteType:
        return 1;
    case shortType:
    case unsignedShortType:
        return 2;
    case unsignedIntType:
    case floatType:
        return 4;
    default:
        return std::nullopt;
    }
}

bool componentIsSigned(std::int64_t componentType) {
    return componentType == byteType || componentType == shortType;
}

std::optional<int> componentsPerElement(std::string_view type) {
    if (type == "SCALAR") {
        return 1;
    }
    if (type == "VEC2") {
        return 2;
    }
    if (type == "VEC3") {
        return 3;
    }
    if (type == "VEC4" || type == "MAT2") {
        return 4;
    }
    if (type == "MAT3") {
        return 9;
    }
    if (type == "MAT4") {
        return 16;
    }
    return std::nullopt;
}

std::optional<scene::PrimitiveType> primitiveTypeForMode(std::int64_t mode) {
    switch (mode) {
    case 0:
        return scene::PrimitiveType::point;
    case 1:
        return scene::PrimitiveType::line;
    case 4:
        return scene::PrimitiveType::triangles;
    case 5:
        return scene::PrimitiveType::triangleStrip;
    default:
        return std::nullopt;
    }
}

} // namespace gltf
