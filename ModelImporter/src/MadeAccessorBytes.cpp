#include "MadeAccessorBytes.h"

#include <GLTFReader/AccessorTables.h>
#include <limits>
#include <string_view>

namespace modelimporter {
namespace {

constexpr std::uint64_t kCap = std::numeric_limits<std::uint64_t>::max();

std::uint64_t cappedProduct(std::uint64_t a, std::uint64_t b) {
    return b != 0 && a > kCap / b ? kCap : a * b;
}

std::uint64_t cappedSum(std::uint64_t a, std::uint64_t b) {
    return b > kCap - a ? kCap : a + b;
}

std::uint64_t accessorBytes(simdjson::dom::element accessor) {
    std::uint64_t count = 0;
    std::int64_t componentType = 0;
    std::string_view type;
    if (accessor["count"].get(count) != simdjson::SUCCESS)
        return 0;
    if (accessor["componentType"].get(componentType) != simdjson::SUCCESS)
        componentType = 0;
    if (accessor["type"].get(type) != simdjson::SUCCESS)
        type = {};
    // Without a valid type the smallest element is assumed; the importer refuses it anyway.
    const auto elementBytes = gltf::bytesPerComponent(componentType).value_or(1) *
                              gltf::componentsPerElement(type).value_or(1);
    return cappedProduct(count, static_cast<std::uint64_t>(elementBytes));
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
