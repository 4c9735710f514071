// Feeds arbitrary bytes to a whole scene load: container splitting, document decoding and every
// loader the default scene reaches. Each input must give a scene or fail with one of the
// reader's own errors; anything else escapes and libFuzzer reports it.

#include <GLTFReader/DecodingError.h>
#include <GLTFReader/FileReading.h>
#include <GLTFReader/GLTFSceneSource.h>
#include <GLTFReader/GLTFUnarchiveError.h>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const GLTFSceneSource source(scene::makeBytes(std::vector<std::uint8_t>(data, data + size)));
    try {
        source.sceneWithOptions();
    } catch (const GLTFUnarchiveError&) {
    } catch (const gltf::DecodingError&) {
    } catch (const gltf::FileError&) {
    }
    return 0;
}
