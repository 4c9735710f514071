#include "MadeAccessorBytes.h"

#include <limits>
#include <string_view>

namespace modelimporter {
namespace {

std::uint64_t componentBytes(std::uint64_t componentType) {
    switch (componentType) {
    case 5120: // BYTE
    case 5121: // UNSIGNED_BYTE
        return 1;
    case 5122: // SHORT
    case 5123: // UNSIGNED_SHORT
        return 2;
    case 5125: // UNSIGNED_INT
    case 5126: // FLOAT
        return 4;
    default:
        return 1;
    }
}

std::uint64_t componentCount(std::string_view type) {
    if (type == "VEC2")
        return 2;
    if (type == "VEC3")
        return 3;
    if (type == "VEC4" || type == "MAT2")
        return 4;
    if (type == "MAT3")
        return 9;
    if (type == "MAT4")
        return 16;
    return 1;
}

constexpr std::uint64_t kCap = std::numeric_limits<std::uint64_t>::max();

std::uint64_t cappedProduct(std::uint64_t a, std::uint64_t b) {
    return b != 0 && a > kCap / b ? kCap : a * b;
}

std::uint64_t cappedSum(std::uint64_t a, std::uint64_t b) {
    return b > kCap - a ? kCap : a + b;
}

std::uint64_t accessorBytes(simdjson::dom::element accessor) {
    std::uint64_t count = 0;
    std::uint64_t componentType = 0;
    std::string_view type;
    if (accessor["count"].get(count) != simdjson::SUCCESS)
        return 0;
    // Without a valid type the smallest element is assumed; the importer refuses it anyway.
    if (accessor["componentType"].get(componentType) != simdjson::SUCCESS)
        componentType = 0;
    if (accessor["type"].get(type) != simdjson::SUCCESS)
        type = "SCALAR";
    return cappedProduct(count, componentBytes(componentType) * componentCount(type));
}

} // namespace

std::uint64_t madeAccessorBytes(simdjson::dom::element document) {
    simdjson::dom::array accessors;
    if (document["accessors"].get(accessors) != simdjson::SUCCESS)
        return 0;
    std::uint64_t total = 0;
    for (simdjson::dom::element accessor : accessors) {
        simdjson::dom::element view;
        if (accessor["bufferView"].get(view) == simdjson::SUCCESS)
            continue;
        total = cappedSum(total, accessorBytes(accessor));
    }
    return total;
}

} // namespace modelimporter
