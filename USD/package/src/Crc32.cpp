#include "Crc32.h"

#include <zlib.h>

namespace usd {

std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
    if (bytes.empty())
        return crc; // zlib treats a null buffer as a request for the initial value
    return static_cast<std::uint32_t>(crc32_z(crc, bytes.data(), bytes.size()));
}

} // namespace usd
