#include <USD/package/PackageError.h>
#include <USD/package/PackageReader.h>
#include <cstddef>
#include <cstdint>

// Any input must either be read or refused with PackageError; the sanitizers
// catch every out-of-bounds look at the entries the reader hands out.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const usd::PackageReader reader({data, size});
        std::uint8_t sum = 0;
        for (const usd::PackageEntry& entry : reader.entries()) {
            if (!entry.bytes.empty())
                sum ^= entry.bytes.front() ^ entry.bytes.back();
            if (reader.find(entry.name) == nullptr)
                __builtin_trap();
        }
        reader.rootLayer();
        asm volatile("" : : "r"(sum)); // keeps the reads above from being optimised away
    } catch (const usd::PackageError&) {
    }
    return 0;
}
