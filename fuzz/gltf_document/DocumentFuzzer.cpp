// Feeds arbitrary bytes to the container split and the document decoding. The scene source never
// throws: it keeps either the unarchiver or the failure, and the failure must be one of the
// reader's own errors.

#include <GLTFReader/DecodingError.h>
#include <GLTFReader/FileReading.h>
#include <GLTFReader/GLTFSceneSource.h>
#include <GLTFReader/GLTFUnarchiveError.h>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const GLTFSceneSource source(scene::makeBytes(std::vector<std::uint8_t>(data, data + size)));
    if (const std::exception_ptr error = source.error()) {
        try {
            std::rethrow_exception(error);
        } catch (const GLTFUnarchiveError&) {
        } catch (const gltf::DecodingError&) {
        } catch (const gltf::FileError&) {
        }
    }
    return 0;
}
