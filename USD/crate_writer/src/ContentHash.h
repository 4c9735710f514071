#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace usd::crate {

// A hash of a value's bytes, to find identical values written before. Mesh arrays run to tens
// of megabytes, so it works through four independent 64-bit lanes and keeps up with copying.
std::size_t contentHash(std::span<const std::uint8_t> bytes);

} // namespace usd::crate
