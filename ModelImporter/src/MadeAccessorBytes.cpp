#include "MadeAccessorBytes.h"

#include "SaturatingCounts.h"

#include <GLTFReader/AccessorTables.h>
#include <string_view>

namespace modelimporter {
namespace {

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
    return saturatingProduct(count, static_cast<std::uint64_t>(elementBytes));
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
        total = saturatingSum(total, accessorBytes(accessor));
    }
    return total;
}

} // namespace modelimporter
