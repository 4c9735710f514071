// Feeds arbitrary bytes to the crate reader. Each input must give a layer or fail with
// FormatError; the sanitizers catch any out-of-bounds read, and -rss_limit_mb any allocation
// sized from the file instead of capped.

#include <USD/codec/FormatError.h>
#include <USD/crate_reader/CrateReader.h>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        usd::CrateReadWarnings warnings;
        usd::readCrate({data, size}, &warnings);
    } catch (const usd::FormatError&) {
    }
    return 0;
}
