#include <GLTFReader/IndexCache.h>

namespace gltf {

std::string outOfIndexMessage(std::string_view operationName, std::int64_t index,
                              std::size_t count) {
    return std::string(operationName) + ": out of index: " + std::to_string(index) + " < " +
           std::to_string(count);
}

} // namespace gltf
