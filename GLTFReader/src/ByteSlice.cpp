#include <GLTFReader/ByteSlice.h>

namespace gltf {

ByteSlice ByteSlice::whole(ByteBlock block) {
    const std::size_t size = block->size();
    return {.block = std::move(block), .offset = 0, .size = size};
}

std::span<const std::uint8_t> ByteSlice::bytes() const {
    return std::span<const std::uint8_t>(*block).subspan(offset, size);
}

} // namespace gltf
