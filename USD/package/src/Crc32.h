#pragma once

#include <cstdint>
#include <span>

namespace usd {

// The zip CRC-32 of `bytes`, continuing from `crc` (0 to start).
std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

} // namespace usd
