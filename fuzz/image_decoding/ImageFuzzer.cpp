// Feeds arbitrary bytes to the image header read and, for bytes it takes as an image, the full
// decode. A refused or damaged image must end in std::runtime_error, never in a stray read.

#include <SceneGraph/Image.h>

// The decoder is a system library built without coverage feedback. Its implementation, from the
// same header the library is built from, is compiled in here instead: the program's own copy
// takes the place of the library's, so the fuzzer sees which of the decoder's paths each input
// takes.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
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
