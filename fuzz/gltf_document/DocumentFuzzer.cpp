// Feeds arbitrary bytes to the glTF reader's entry: container splitting and document decoding.
// Every input must either construct an unarchiver or fail with one of the reader's own errors.

#include <GLTFReader/DecodingError.h>
#include <GLTFReader/GLTFUnarchiveError.h>
#include <GLTFReader/GLTFUnarchiver.h>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto bytes = std::make_shared<const std::vector<std::uint8_t>>(data, data + size);
    try {
        const GLTFUnarchiver unarchiver(bytes);
    } catch (const GLTFUnarchiveError&) {
    } catch (const gltf::DecodingError&) {
    }
    return 0;
}
