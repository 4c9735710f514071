// Feeds arbitrary bytes to the image header read and, for bytes it takes as an image, the full
// decode. A refused or damaged image must end in std::runtime_error, never in a stray read.

#include <SceneGraph/Image.h>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto image = scene::Image::fromEncodedBytes(
        scene::makeBytes(std::vector<std::uint8_t>(data, data + size)));
    if (image == nullptr) {
        return 0;
    }
    try {
        const scene::RGBA8Pixels decoded = image->decodeRGBA8();
        if (decoded.pixels.size() != std::size_t{4} * static_cast<std::size_t>(decoded.width) *
                                         static_cast<std::size_t>(decoded.height)) {
            __builtin_trap();
        }
    } catch (const std::runtime_error&) {
    }
    return 0;
}
