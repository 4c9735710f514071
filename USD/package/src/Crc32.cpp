#include "Crc32.h"

#include <isa-l/crc.h>

namespace usd {

// ISA-L folds the checksum with carry-less multiplication, several times faster than a table
// walk; a package's CRC-32s cover every byte it holds, on every write and every read.
std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
    if (bytes.empty())
        return crc;
    return crc32_gzip_refl(crc, bytes.data(), bytes.size());
}

} // namespace usd
