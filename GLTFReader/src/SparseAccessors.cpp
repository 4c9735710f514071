#include "SparseAccessors.h"

#include "CheckedArithmetic.h"

#include <GLTFReader/GLTFUnarchiver.h>
#include <cstring>
#include <string>

namespace gltf {
namespace {

[[noreturn]] void refuse(std::string_view operationName, const std::string& problem) {
    throw GLTFUnarchiveError::dataInconsistent(std::string(operationName) + ": sparse " + problem);
}

// The bytes of `count` packed elements of `elementSize` bytes at `byteOffset` of a view.
const std::uint8_t* packedRange(GLTFUnarchiver& unarchiver, std::int64_t view,
                                std::optional<std::int64_t> byteOffset, std::size_t count,
                                std::size_t elementSize, std::string_view operationName,
                                const char* what) {
    const ByteSlice bytes = unarchiver.loadBufferView(view);
    const std::int64_t offset = byteOffset.value_or(0);
    const std::optional<std::size_t> end =
        offset < 0 ? std::nullopt
                   : checkedMultiplyAdd(static_cast<std::size_t>(offset), elementSize, count);
    if (!end || *end > bytes.size) {
        refuse(operationName,
               std::string(what) + " lie outside their bufferView " + std::to_string(view));
    }
    return bytes.bytes().data() + offset;
}

std::size_t indexSizeOf(std::int64_t componentType, std::string_view operationName) {
    switch (componentType) {
    case 5121:
        return 1;
    case 5123:
        return 2;
    case 5125:
        return 4;
    default:
        refuse(operationName,
               "indices of componentType " + std::to_string(componentType) + " are not supported");
    }
}

std::uint64_t readIndex(const std::uint8_t* at, std::size_t size) {
    std::uint32_t index = 0;
    std::memcpy(&index, at, size); // little-endian: the low bytes come first
    return index;
}

std::vector<std::uint8_t> packed(const ByteSlice& base, const ElementPlacement& placement) {
    std::vector<std::uint8_t> elements(placement.count * placement.elementSize);
    const std::uint8_t* first = base.bytes().data() + placement.offset;
    for (std::size_t element = 0; element < placement.count; ++element) {
        std::memcpy(elements.data() + element * placement.elementSize,
                    first + element * placement.stride, placement.elementSize);
    }
    return elements;
}

} // namespace

ByteSlice withSparseValues(GLTFUnarchiver& unarchiver, const GLTFAccessor& accessor,
                           const ByteSlice& base, const ElementPlacement& placement,
                           std::string_view operationName) {
    const GLTFAccessorSparse& sparse = *accessor.sparse;
    if (sparse.count < 0) {
        refuse(operationName, "count " + std::to_string(sparse.count) + " is negative");
    }
    const auto count = static_cast<std::size_t>(sparse.count);
    const std::size_t indexSize = indexSizeOf(sparse.indices.componentType, operationName);
    const std::uint8_t* indices =
        packedRange(unarchiver, sparse.indices.bufferView, sparse.indices._byteOffset, count,
                    indexSize, operationName, "indices");
    const std::uint8_t* values =
        packedRange(unarchiver, sparse.values.bufferView, sparse.values._byteOffset, count,
                    placement.elementSize, operationName, "values");
    std::vector<std::uint8_t> elements = packed(base, placement);
    for (std::size_t position = 0; position < count; ++position) {
        const std::uint64_t index = readIndex(indices + position * indexSize, indexSize);
        if (index >= placement.count) {
            refuse(operationName, "index " + std::to_string(index) + " is not below the count " +
                                      std::to_string(placement.count));
        }
        std::memcpy(elements.data() + index * placement.elementSize,
                    values + position * placement.elementSize, placement.elementSize);
    }
    return ByteSlice::whole(scene::makeBytes(std::move(elements)));
}

} // namespace gltf
